/* Preloaded into Wine's 32-bit processes when they run under qemu-i386.
 *
 * qemu reports every fault with trap number -1, and Wine tells a page fault
 * from an illegal instruction, a divide by zero from a breakpoint, by that
 * number alone: a null pointer would end as "illegal instruction", guard
 * pages and IsBadReadPtr would misbehave. This wraps the handlers Wine
 * installs for the fault signals and, only when the number is -1, fills in
 * the one the kernel would have given, from what siginfo says.
 *
 * Built freestanding (the i386 libc headers need not be installed), linked
 * against the i386 libc that Wine's 32-bit loader uses. A 64-bit library of
 * the same name that does nothing lets one LD_PRELOAD with $LIB serve the
 * 64-bit programs of the session too. */

#define SIGILL 4
#define SIGTRAP 5
#define SIGBUS 7
#define SIGFPE 8
#define SIGSEGV 11
#define SA_SIGINFO 4
#define SIGNAL_COUNT 32

/* The i386 layouts: siginfo_t starts with signo, errno, code; in a
 * ucontext_t the registers follow flags, link and the 12-byte stack_t, and
 * the trap number is register 12. */
struct siginfo_head { int signo, error, code; };
#define TRAPNO_OFFSET (4 + 4 + 12 + 12 * 4)

typedef void (*info_handler)(int, struct siginfo_head *, void *);

/* glibc's i386 struct sigaction: the handler first, then the 128-byte mask,
 * the flags and the restorer. */
struct libc_sigaction {
    info_handler handler;
    unsigned long mask[32];
    int flags;
    void (*restorer)(void);
};

extern void *dlsym(void *module, const char *name);
#define RTLD_NEXT ((void *)-1l)

static info_handler wine_handlers[SIGNAL_COUNT];

static int trap_number(int signal, int code) {
    switch (signal) {
    case SIGSEGV: return code == 1 || code == 2 ? 14 : 13;  /* SEGV_MAPERR, SEGV_ACCERR: page fault */
    case SIGFPE: return code == 1 || code == 2 ? 0 : 16;    /* FPE_INTDIV, FPE_INTOVF: divide error */
    case SIGILL: return 6;
    case SIGTRAP: return code == 2 ? 1 : 3;                 /* TRAP_TRACE: single step, else int3 */
    case SIGBUS: return 17;
    default: return -1;
    }
}

static void mend_then_handle(int signal, struct siginfo_head *info, void *context) {
    int *trapno = (int *)((char *)context + TRAPNO_OFFSET);
    if (*trapno == -1 && info) *trapno = trap_number(signal, info->code);
    wine_handlers[signal](signal, info, context);
}

static int mended(int signal) {
    return signal == SIGSEGV || signal == SIGFPE || signal == SIGILL || signal == SIGTRAP || signal == SIGBUS;
}

int sigaction(int signal, const struct libc_sigaction *action, struct libc_sigaction *previous) {
    static int (*next)(int, const struct libc_sigaction *, struct libc_sigaction *);
    struct libc_sigaction wrapped;
    info_handler before = signal > 0 && signal < SIGNAL_COUNT ? wine_handlers[signal] : 0;
    int result;
    if (!next) next = (int (*)(int, const struct libc_sigaction *, struct libc_sigaction *))dlsym(RTLD_NEXT, "sigaction");
    if (action && mended(signal) && (action->flags & SA_SIGINFO) && action->handler) {
        /* Known before the wrapper can run. */
        wine_handlers[signal] = action->handler;
        wrapped = *action;
        wrapped.handler = mend_then_handle;
        result = next(signal, &wrapped, previous);
        if (result != 0) wine_handlers[signal] = before;
    } else {
        result = next(signal, action, previous);
        if (result == 0 && action && mended(signal)) wine_handlers[signal] = 0;
    }
    /* The caller sees its own handler, never the wrapper. */
    if (result == 0 && previous && previous->handler == mend_then_handle) previous->handler = before;
    return result;
}
