// Windows Firewall rules through its COM interface (INetFwPolicy2), for
// setup to give the game's renamed executable the rules the game had.

#include <windows.h>
#include <initguid.h>
#include <netfw.h>
#include <oleauto.h>

#include <functional>

#include "platform/win32/system_error.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_services.h"

namespace platform::win32 {

namespace {

// {E2B3C97F-6AE1-41AC-817A-F6F92166D7DD} and {2C5BC43E-3369-4C33-AB0C-BE9469677AF4}
constexpr CLSID kPolicyClass = {0xe2b3c97f, 0x6ae1, 0x41ac, {0x81, 0x7a, 0xf6, 0xf9, 0x21, 0x66, 0xd7, 0xdd}};
constexpr CLSID kRuleClass = {0x2c5bc43e, 0x3369, 0x4c33, {0xab, 0x0c, 0xbe, 0x94, 0x69, 0x67, 0x7a, 0xf4}};

template <typename T>
struct Com {
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
    T** out() { return &p; }
    T* p = nullptr;
};

struct Bstr {
    Bstr() = default;
    explicit Bstr(std::string_view text) : b(::SysAllocString(Widen(text).c_str())) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { ::SysFreeString(b); }
    std::wstring text() const { return b ? std::wstring(b, ::SysStringLen(b)) : std::wstring(); }
    BSTR b = nullptr;
};

struct Apartment {
    Apartment() : result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~Apartment() {
        if (SUCCEEDED(result)) ::CoUninitialize();
    }
    HRESULT result;
};

Status Fail(const std::string& what, HRESULT hr) { return Failure(what, static_cast<DWORD>(hr)); }

std::wstring Expanded(const std::wstring& text) {
    wchar_t out[MAX_PATH * 2] = L"";
    const DWORD n = ::ExpandEnvironmentStringsW(text.c_str(), out, MAX_PATH * 2);
    return n > 0 && n <= MAX_PATH * 2 ? std::wstring(out) : text;
}

bool SameProgram(const std::wstring& a, const std::wstring& b) {
    const std::wstring x = Expanded(a), y = Expanded(b);
    return ::CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(), static_cast<int>(y.size()),
                                  TRUE) == CSTR_EQUAL;
}

// Calls `visit` with every rule for `program` until it answers false.
Status EachRule(std::string_view program, INetFwRules** rulesOut, const std::function<bool(INetFwRule*)>& visit) {
    Com<INetFwPolicy2> policy;
    HRESULT hr = ::CoCreateInstance(kPolicyClass, nullptr, CLSCTX_INPROC_SERVER, IID_INetFwPolicy2,
                                    reinterpret_cast<void**>(policy.out()));
    if (FAILED(hr)) return Fail("Cannot reach Windows Firewall", hr);
    hr = policy->get_Rules(rulesOut);
    if (FAILED(hr)) return Fail("Cannot read the rules of Windows Firewall", hr);
    Com<IUnknown> listed;
    hr = (*rulesOut)->get__NewEnum(listed.out());
    Com<IEnumVARIANT> each;
    if (SUCCEEDED(hr)) hr = listed->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(each.out()));
    if (FAILED(hr)) return Fail("Cannot read the rules of Windows Firewall", hr);
    const std::wstring wanted = Widen(program);
    VARIANT item;
    ::VariantInit(&item);
    while (each->Next(1, &item, nullptr) == S_OK) {
        Com<INetFwRule> rule;
        bool goOn = true;
        if (item.vt == VT_DISPATCH && item.pdispVal &&
            SUCCEEDED(item.pdispVal->QueryInterface(IID_INetFwRule, reinterpret_cast<void**>(rule.out())))) {
            Bstr application;
            if (SUCCEEDED(rule->get_ApplicationName(&application.b)) && application.b &&
                SameProgram(application.text(), wanted))
                goOn = visit(rule.p);
        }
        ::VariantClear(&item);
        if (!goOn) break;
    }
    return Status::Ok();
}

bool Enabled(INetFwRule* rule) {
    VARIANT_BOOL enabled = VARIANT_FALSE;
    return SUCCEEDED(rule->get_Enabled(&enabled)) && enabled != VARIANT_FALSE;
}

std::wstring NameOf(INetFwRule* rule) {
    Bstr name;
    rule->get_Name(&name.b);
    return name.text();
}

// A copy of `from` named `name` for `program`; the same in every other way.
HRESULT CopyRule(INetFwRule* from, INetFwRule* to, const Bstr& name, const Bstr& program) {
    HRESULT hr = to->put_Name(name.b);
    if (SUCCEEDED(hr)) hr = to->put_ApplicationName(program.b);
    LONG number = 0;
    // The protocol comes before the ports, which only TCP and UDP have.
    if (SUCCEEDED(hr) && SUCCEEDED(from->get_Protocol(&number))) hr = to->put_Protocol(number);
    auto copyText = [&](HRESULT (STDMETHODCALLTYPE INetFwRule::*get)(BSTR*),
                        HRESULT (STDMETHODCALLTYPE INetFwRule::*put)(BSTR)) {
        Bstr text;
        if (SUCCEEDED(hr) && SUCCEEDED((from->*get)(&text.b)) && text.b) hr = (to->*put)(text.b);
    };
    copyText(&INetFwRule::get_Description, &INetFwRule::put_Description);
    if (number == NET_FW_IP_PROTOCOL_TCP || number == NET_FW_IP_PROTOCOL_UDP) {
        copyText(&INetFwRule::get_LocalPorts, &INetFwRule::put_LocalPorts);
        copyText(&INetFwRule::get_RemotePorts, &INetFwRule::put_RemotePorts);
    }
    copyText(&INetFwRule::get_LocalAddresses, &INetFwRule::put_LocalAddresses);
    copyText(&INetFwRule::get_RemoteAddresses, &INetFwRule::put_RemoteAddresses);
    copyText(&INetFwRule::get_InterfaceTypes, &INetFwRule::put_InterfaceTypes);
    NET_FW_RULE_DIRECTION direction;
    if (SUCCEEDED(hr) && SUCCEEDED(from->get_Direction(&direction))) hr = to->put_Direction(direction);
    NET_FW_ACTION action;
    if (SUCCEEDED(hr) && SUCCEEDED(from->get_Action(&action))) hr = to->put_Action(action);
    LONG profiles = 0;
    if (SUCCEEDED(hr) && SUCCEEDED(from->get_Profiles(&profiles))) hr = to->put_Profiles(profiles);
    VARIANT_BOOL edge = VARIANT_FALSE;
    if (SUCCEEDED(hr) && SUCCEEDED(from->get_EdgeTraversal(&edge))) hr = to->put_EdgeTraversal(edge);
    if (SUCCEEDED(hr)) hr = to->put_Enabled(VARIANT_TRUE);
    return hr;
}

}  // namespace

Result<std::vector<std::string>> Win32SetupServices::FirewallRules(std::string_view program) {
    Apartment apartment;
    Com<INetFwRules> rules;
    std::vector<std::string> names;
    Status s = EachRule(program, rules.out(), [&](INetFwRule* rule) {
        if (Enabled(rule)) names.push_back(Narrow(NameOf(rule)));
        return true;
    });
    if (!s) return s;
    return names;
}

Status Win32SetupServices::CopyFirewallRules(std::string_view name, std::string_view program, std::string_view copyName,
                                        std::string_view copyProgram) {
    Apartment apartment;
    Com<INetFwRules> rules;
    const Bstr newName(copyName), newProgram(copyProgram);
    const std::wstring wanted = Widen(name);
    std::vector<INetFwRule*> sources;
    Status s = EachRule(program, rules.out(), [&](INetFwRule* rule) {
        if (Enabled(rule) && NameOf(rule) == wanted) {
            rule->AddRef();
            sources.push_back(rule);
        }
        return true;
    });
    HRESULT hr = S_OK;
    for (INetFwRule* source : sources) {
        Com<INetFwRule> copy;
        if (s && SUCCEEDED(hr))
            hr = ::CoCreateInstance(kRuleClass, nullptr, CLSCTX_INPROC_SERVER, IID_INetFwRule,
                                    reinterpret_cast<void**>(copy.out()));
        if (s && SUCCEEDED(hr)) hr = CopyRule(source, copy.p, newName, newProgram);
        if (s && SUCCEEDED(hr)) hr = rules->Add(copy.p);
        source->Release();
    }
    if (!s) return s;
    if (FAILED(hr)) return Fail("Cannot add the firewall rule " + Quoted(copyName), hr);
    return Status::Ok();
}

Status Win32SetupServices::RemoveFirewallRules(std::string_view name, std::string_view program) {
    Apartment apartment;
    // Remove takes a name alone and may take any rule of that name, so it
    // is called only while a rule of that name is for `program`.
    const std::wstring wanted = Widen(name);
    for (int round = 0; round < 64; ++round) {
        Com<INetFwRules> rules;
        bool found = false;
        Status s = EachRule(program, rules.out(), [&](INetFwRule* rule) {
            found = NameOf(rule) == wanted;
            return !found;
        });
        if (!s) return s;
        if (!found) return Status::Ok();
        Bstr gone(name);
        if (HRESULT hr = rules->Remove(gone.b); FAILED(hr))
            return Fail("Cannot remove the firewall rule " + Quoted(name), hr);
    }
    return Status::Ok();
}

}  // namespace platform::win32
