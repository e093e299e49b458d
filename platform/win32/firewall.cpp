// Windows Firewall rules through its COM interface (INetFwPolicy2), for
// setup to give the game's renamed executable the rules the game had: each
// copy the same as its rule in every property the firewall has, so that it
// never allows more, and removed again only while it is still that copy.

#include <windows.h>
#include <initguid.h>
#include <netfw.h>
#include <oleauto.h>

#include <functional>
#include <optional>
#include <vector>

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
    explicit Bstr(std::wstring_view text) : b(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { ::SysFreeString(b); }
    std::wstring text() const { return b ? std::wstring(b, ::SysStringLen(b)) : std::wstring(); }
    BSTR b = nullptr;
};

struct Variant {
    Variant() { ::VariantInit(&v); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { ::VariantClear(&v); }
    VARIANT v;
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

bool SameText(const std::wstring& x, const std::wstring& y) {
    return ::CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(), static_cast<int>(y.size()),
                                  TRUE) == CSTR_EQUAL;
}

std::wstring NameOf(INetFwRule* rule) {
    Bstr name;
    rule->get_Name(&name.b);
    return name.text();
}

// A text property, read and written through the interface that has it.
template <typename I>
struct TextProperty {
    const char* name;
    HRESULT (STDMETHODCALLTYPE I::*get)(BSTR*);
    HRESULT (STDMETHODCALLTYPE I::*put)(BSTR);
};

// Ports exist for TCP and UDP only, ICMP types for ICMP only; the protocol
// is set before them.
constexpr TextProperty<INetFwRule> kPorts[] = {
    {"LocalPorts", &INetFwRule::get_LocalPorts, &INetFwRule::put_LocalPorts},
    {"RemotePorts", &INetFwRule::get_RemotePorts, &INetFwRule::put_RemotePorts}};
constexpr TextProperty<INetFwRule> kIcmp[] = {
    {"IcmpTypesAndCodes", &INetFwRule::get_IcmpTypesAndCodes, &INetFwRule::put_IcmpTypesAndCodes}};
constexpr TextProperty<INetFwRule> kTexts[] = {
    {"LocalAddresses", &INetFwRule::get_LocalAddresses, &INetFwRule::put_LocalAddresses},
    {"RemoteAddresses", &INetFwRule::get_RemoteAddresses, &INetFwRule::put_RemoteAddresses},
    {"InterfaceTypes", &INetFwRule::get_InterfaceTypes, &INetFwRule::put_InterfaceTypes},
    {"Description", &INetFwRule::get_Description, &INetFwRule::put_Description},
    {"ServiceName", &INetFwRule::get_ServiceName, &INetFwRule::put_ServiceName},
    {"Grouping", &INetFwRule::get_Grouping, &INetFwRule::put_Grouping}};
constexpr TextProperty<INetFwRule3> kTexts3[] = {
    {"LocalAppPackageId", &INetFwRule3::get_LocalAppPackageId, &INetFwRule3::put_LocalAppPackageId},
    {"LocalUserOwner", &INetFwRule3::get_LocalUserOwner, &INetFwRule3::put_LocalUserOwner},
    {"LocalUserAuthorizedList", &INetFwRule3::get_LocalUserAuthorizedList, &INetFwRule3::put_LocalUserAuthorizedList},
    {"RemoteUserAuthorizedList", &INetFwRule3::get_RemoteUserAuthorizedList,
     &INetFwRule3::put_RemoteUserAuthorizedList},
    {"RemoteMachineAuthorizedList", &INetFwRule3::get_RemoteMachineAuthorizedList,
     &INetFwRule3::put_RemoteMachineAuthorizedList}};

bool HasPorts(LONG protocol) { return protocol == NET_FW_IP_PROTOCOL_TCP || protocol == NET_FW_IP_PROTOCOL_UDP; }
bool IsIcmp(LONG protocol) { return protocol == 1 || protocol == 58; }

// Every property of a rule but its name, program and whether it is on.
class RuleValues {
public:
    // Reads them all; answers the property that cannot be read, or nothing.
    std::optional<std::string> Read(INetFwRule* rule) {
        if (FAILED(rule->get_Protocol(&protocol_))) return "Protocol";
        if (HasPorts(protocol_))
            for (const auto& p : kPorts)
                if (!ReadText(rule, p)) return p.name;
        if (IsIcmp(protocol_))
            if (!ReadText(rule, kIcmp[0])) return kIcmp[0].name;
        for (const auto& p : kTexts)
            if (!ReadText(rule, p)) return p.name;
        if (FAILED(rule->get_Direction(&direction_))) return "Direction";
        if (FAILED(rule->get_Action(&action_))) return "Action";
        if (FAILED(rule->get_Profiles(&profiles_))) return "Profiles";
        if (FAILED(rule->get_EdgeTraversal(&edge_))) return "EdgeTraversal";
        if (FAILED(rule->get_Interfaces(&interfaces_.v))) return "Interfaces";
        if (interfaces_.v.vt != VT_EMPTY && !InterfacesText()) return "Interfaces";
        Com<INetFwRule2> rule2;
        if (SUCCEEDED(rule->QueryInterface(IID_INetFwRule2, reinterpret_cast<void**>(rule2.out())))) {
            edgeOptions_.emplace();
            if (FAILED(rule2->get_EdgeTraversalOptions(&*edgeOptions_))) return "EdgeTraversalOptions";
        }
        Com<INetFwRule3> rule3;
        if (SUCCEEDED(rule->QueryInterface(IID_INetFwRule3, reinterpret_cast<void**>(rule3.out())))) {
            for (const auto& p : kTexts3)
                if (!ReadText(rule3.p, p)) return p.name;
            secureFlags_.emplace();
            if (FAILED(rule3->get_SecureFlags(&*secureFlags_))) return "SecureFlags";
        }
        return std::nullopt;
    }

    // One line: "name=value" pairs apart by tabs, with tabs, line breaks and
    // backslashes in the values written \t, \n, \r and \\.
    std::string Text() const {
        std::wstring line = L"Protocol=" + Decimal(static_cast<unsigned long>(protocol_));
        auto add = [&line](const char* name, const std::wstring& value) {
            line += L'\t' + Widen(name) + L'=';
            for (wchar_t c : value) {
                if (c == L'\t') line += L"\\t";
                else if (c == L'\n') line += L"\\n";
                else if (c == L'\r') line += L"\\r";
                else if (c == L'\\') line += L"\\\\";
                else line += c;
            }
        };
        for (const auto& [name, value] : texts_)
            if (value) add(name, *value);
        add("Direction", Decimal(direction_));
        add("Action", Decimal(action_));
        add("Profiles", Decimal(static_cast<unsigned long>(profiles_)));
        add("EdgeTraversal", edge_ ? L"1" : L"0");
        add("Interfaces", interfaces_.v.vt == VT_EMPTY ? L"" : *InterfacesText());
        if (edgeOptions_) add("EdgeTraversalOptions", Decimal(static_cast<unsigned long>(*edgeOptions_)));
        if (secureFlags_) add("SecureFlags", Decimal(static_cast<unsigned long>(*secureFlags_)));
        return Narrow(line);
    }

    // Gives a new rule these values, with its own name and program; answers
    // the property that cannot be set, or nothing.
    std::optional<std::string> Write(INetFwRule* to, const std::wstring& name, const std::wstring& program) const {
        Bstr newName(name), newProgram(program);
        if (FAILED(to->put_Name(newName.b))) return "Name";
        if (FAILED(to->put_ApplicationName(newProgram.b))) return "ApplicationName";
        if (FAILED(to->put_Protocol(protocol_))) return "Protocol";
        if (FAILED(to->put_Direction(direction_))) return "Direction";
        for (const auto& [property, value] : texts_)
            if (value && !WriteText(to, property, *value)) return property;
        if (interfaces_.v.vt != VT_EMPTY && FAILED(to->put_Interfaces(interfaces_.v))) return "Interfaces";
        if (FAILED(to->put_Action(action_))) return "Action";
        if (FAILED(to->put_Profiles(profiles_))) return "Profiles";
        if (FAILED(to->put_EdgeTraversal(edge_))) return "EdgeTraversal";
        if (edgeOptions_) {
            Com<INetFwRule2> to2;
            if (FAILED(to->QueryInterface(IID_INetFwRule2, reinterpret_cast<void**>(to2.out()))) ||
                FAILED(to2->put_EdgeTraversalOptions(*edgeOptions_)))
                return "EdgeTraversalOptions";
        }
        if (secureFlags_) {
            Com<INetFwRule3> to3;
            if (FAILED(to->QueryInterface(IID_INetFwRule3, reinterpret_cast<void**>(to3.out()))) ||
                FAILED(to3->put_SecureFlags(*secureFlags_)))
                return "SecureFlags";
        }
        if (FAILED(to->put_Enabled(VARIANT_TRUE))) return "Enabled";
        return std::nullopt;
    }

private:
    template <typename I>
    bool ReadText(I* rule, const TextProperty<I>& property) {
        Bstr text;
        if (FAILED((rule->*property.get)(&text.b))) return false;
        texts_.push_back({property.name, text.b ? std::optional<std::wstring>(text.text()) : std::nullopt});
        return true;
    }

    // Set through the interface that has the property, found by its name.
    static bool WriteText(INetFwRule* to, const char* property, const std::wstring& value) {
        Bstr text(value);
        auto put = [&](auto& table, auto* rule) {
            for (const auto& p : table)
                if (std::string_view(p.name) == property) return SUCCEEDED((rule->*p.put)(text.b));
            return false;
        };
        if (put(kPorts, to) || put(kIcmp, to) || put(kTexts, to)) return true;
        Com<INetFwRule3> to3;
        return SUCCEEDED(to->QueryInterface(IID_INetFwRule3, reinterpret_cast<void**>(to3.out()))) &&
               put(kTexts3, to3.p);
    }

    // The interfaces a rule is limited to: a list of their names.
    std::optional<std::wstring> InterfacesText() const {
        const VARIANT& v = interfaces_.v;
        if (!(v.vt & VT_ARRAY) || !v.parray) return std::nullopt;
        LONG low = 0, high = -1;
        ::SafeArrayGetLBound(v.parray, 1, &low);
        ::SafeArrayGetUBound(v.parray, 1, &high);
        std::wstring names;
        for (LONG i = low; i <= high; ++i) {
            Variant item;
            if ((v.vt & VT_TYPEMASK) == VT_VARIANT) {
                if (FAILED(::SafeArrayGetElement(v.parray, &i, &item.v))) return std::nullopt;
            } else if ((v.vt & VT_TYPEMASK) == VT_BSTR) {
                item.v.vt = VT_BSTR;
                if (FAILED(::SafeArrayGetElement(v.parray, &i, &item.v.bstrVal))) return std::nullopt;
            }
            if (item.v.vt != VT_BSTR) return std::nullopt;
            names += (i == low ? L"" : L",") + std::wstring(item.v.bstrVal, ::SysStringLen(item.v.bstrVal));
        }
        return names;
    }

    LONG protocol_ = 0;
    std::vector<std::pair<const char*, std::optional<std::wstring>>> texts_;
    NET_FW_RULE_DIRECTION direction_{};
    NET_FW_ACTION action_{};
    LONG profiles_ = 0;
    VARIANT_BOOL edge_ = VARIANT_FALSE;
    Variant interfaces_;
    std::optional<LONG> edgeOptions_, secureFlags_;
};

std::string PropertiesOf(INetFwRule* rule) {
    RuleValues values;
    if (auto unreadable = values.Read(rule)) return "unreadable " + *unreadable;
    return values.Text();
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
    const std::wstring wanted = Expanded(Widen(program));
    for (;;) {
        Variant item;
        if (each->Next(1, &item.v, nullptr) != S_OK) break;
        Com<INetFwRule> rule;
        if (item.v.vt != VT_DISPATCH || !item.v.pdispVal ||
            FAILED(item.v.pdispVal->QueryInterface(IID_INetFwRule, reinterpret_cast<void**>(rule.out()))))
            continue;
        Bstr application;
        if (SUCCEEDED(rule->get_ApplicationName(&application.b)) && application.b &&
            SameText(Expanded(application.text()), wanted) && !visit(rule.p))
            break;
    }
    return Status::Ok();
}

// The rule of `program` with this name and these properties, if any.
Status FindRule(std::string_view program, std::string_view name, std::string_view properties, INetFwRules** rules,
                Com<INetFwRule>& found) {
    const std::wstring wanted = Widen(name);
    return EachRule(program, rules, [&](INetFwRule* rule) {
        if (NameOf(rule) != wanted || PropertiesOf(rule) != properties) return true;
        rule->AddRef();
        found.p = rule;
        return false;
    });
}

}  // namespace

Result<std::vector<FirewallRule>> Win32SetupServices::FirewallRules(std::string_view program) {
    Apartment apartment;
    Com<INetFwRules> rules;
    std::vector<FirewallRule> found;
    Status s = EachRule(program, rules.out(), [&](INetFwRule* rule) {
        VARIANT_BOOL enabled = VARIANT_FALSE;
        rule->get_Enabled(&enabled);
        found.push_back({Narrow(NameOf(rule)), enabled != VARIANT_FALSE, PropertiesOf(rule)});
        return true;
    });
    if (!s) return s;
    return found;
}

Status Win32SetupServices::CopyFirewallRule(std::string_view program, const FirewallRule& rule,
                                            std::string_view copyName, std::string_view copyProgram) {
    Apartment apartment;
    Com<INetFwRules> rules;
    Com<INetFwRule> source;
    if (Status s = FindRule(program, rule.name, rule.properties, rules.out(), source); !s) return s;
    const std::string what = "The firewall rule " + Quoted(rule.name);
    if (!source.p) return Status::Fail(what + " changed or went while setup worked, so it was not copied");
    RuleValues values;
    if (auto unreadable = values.Read(source.p))
        return Status::Fail(what + " was not copied: setup cannot read its property " + *unreadable +
                            ", and a copy without it could allow more than the rule does");
    Com<INetFwRule> copy;
    HRESULT hr = ::CoCreateInstance(kRuleClass, nullptr, CLSCTX_INPROC_SERVER, IID_INetFwRule,
                                    reinterpret_cast<void**>(copy.out()));
    if (FAILED(hr)) return Fail("Cannot make a firewall rule", hr);
    if (auto unset = values.Write(copy.p, Widen(copyName), Widen(copyProgram)))
        return Status::Fail(what + " was not copied: setup cannot give a copy its property " + *unset +
                            ", and a copy without it could allow more than the rule does");
    if (hr = rules->Add(copy.p); FAILED(hr)) return Fail("Cannot add the firewall rule " + Quoted(copyName), hr);
    return Status::Ok();
}

Status Win32SetupServices::RemoveFirewallRule(std::string_view program, std::string_view name,
                                              std::string_view properties) {
    Apartment apartment;
    const std::wstring wanted = Widen(name);
    for (int round = 0; round < 64; ++round) {
        Com<INetFwRules> rules;
        Com<INetFwRule> found;
        Status s = properties.empty() ? EachRule(program, rules.out(),
                                                 [&](INetFwRule* rule) {
                                                     if (NameOf(rule) != wanted) return true;
                                                     rule->AddRef();
                                                     found.p = rule;
                                                     return false;
                                                 })
                                      : FindRule(program, name, properties, rules.out(), found);
        if (!s) return s;
        if (!found.p) return Status::Ok();
        // Remove takes a name alone and may take any rule of that name, the
        // player's own among them: the one found gets a name of its own first.
        const std::wstring unique = wanted + L" (being removed by Vantrel setup " + Decimal(::GetTickCount()) + L" " +
                                    Decimal(static_cast<unsigned>(round)) + L")";
        Bstr gone(unique), back(wanted);
        HRESULT hr = found->put_Name(gone.b);
        if (SUCCEEDED(hr)) hr = rules->Remove(gone.b);
        if (FAILED(hr)) {
            found->put_Name(back.b);
            return Fail("Cannot remove the firewall rule " + Quoted(name), hr);
        }
        // A copy recorded by its properties is one rule.
        if (!properties.empty()) return Status::Ok();
    }
    return Status::Ok();
}

}  // namespace platform::win32
