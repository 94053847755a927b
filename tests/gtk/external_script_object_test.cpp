// window.external as page scripts see it, in a real JavaScriptCore context with the program's
// CImpIDispatch behind it: every member goes through GetIDsOfNames and Invoke.

#include "platform/gtk/web_extension/external_script_object.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/imp_idispatch.h"

namespace {

class ScriptContext {
public:
    ScriptContext() : context_(jsc_context_new()) {}
    ~ScriptContext() { g_object_unref(context_); }
    ScriptContext(const ScriptContext&) = delete;
    ScriptContext& operator=(const ScriptContext&) = delete;

    JSCContext* get() const { return context_; }

    // The script's completion value as text; an uncaught exception fails the test.
    std::string Run(const std::string& script) {
        JSCValue* value = jsc_context_evaluate(context_, script.c_str(), -1);
        if (JSCException* e = jsc_context_get_exception(context_)) {
            ADD_FAILURE() << "uncaught: " << jsc_exception_get_message(e) << " in " << script;
            jsc_context_clear_exception(context_);
        }
        char* text = jsc_value_to_string(value);
        std::string result = text != nullptr ? text : "";
        g_free(text);
        g_object_unref(value);
        return result;
    }

private:
    JSCContext* context_;
};

// Reads a member of window.external in a script: its value, or the error it threw.
std::string ReadScript(const std::string& name) {
    return "(function () { try { return 'value:' + String(external['" + name +
           "']); } catch (e) { return (e instanceof TypeError ? 'TypeError:' : 'other:') + "
           "e.message; } })()";
}

TEST(ExternalScriptObject, ReadsFollowTheObjectsNames) {
    CImpIDispatch external;
    ScriptContext js;
    platform::gtk::InstallExternalScriptObject(js.get(), &external);
    EXPECT_EQ(js.Run("typeof external"), "object");

    struct Case {
        const char* name;
        bool found;
    };
    const Case cases[] = {
        {"xxyyzz", true},
        {"xxy", true},
        {"xxyabc", true},
        {"xxyyzzz", true},
        {"nope", false},
        {"XXYYZZ", false},
        {"xxz", false},
        {"xx", false},
        {"", false},
        {"toString", false},
        {"valueOf", false},
        // Full-width forms count as their usual-width letters.
        {"\uFF58\uFF58\uFF59", true},
    };
    for (const Case& c : cases) {
        const std::string result = js.Run(ReadScript(c.name));
        if (c.found)
            EXPECT_EQ(result, "value:Wibble") << c.name;
        else
            EXPECT_EQ(result.rfind("TypeError:", 0), 0u) << c.name << " gave " << result;
    }
}

TEST(ExternalScriptObject, AssignmentChangesNothingAndRaisesNothing) {
    CImpIDispatch external;
    ScriptContext js;
    platform::gtk::InstallExternalScriptObject(js.get(), &external);
    EXPECT_EQ(js.Run("external.xxyyzz = 'x'; external.xxyyzz"), "Wibble");
    EXPECT_EQ(
        js.Run("(function () { 'use strict'; external.xxyyzz = 42; return external.xxy; })()"),
        "Wibble");
    // A name the object does not know cannot be written either, nor read afterwards.
    EXPECT_EQ(js.Run("(function () { try { external.nope = 1; return 'stored'; } catch (e) { "
                     "return e.name; } })()"),
              "TypeError");
    EXPECT_EQ(js.Run(ReadScript("nope")).rfind("TypeError:", 0), 0u);
}

// An object that records what the hooks ask of it.
class RecordingDispatch final : public IDispatch {
public:
    HRESULT QueryInterface(REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG Release() override { return static_cast<ULONG>(--refs); }
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        const std::u16string name = names[0];
        log.push_back("ids " + Utf16ToUtf8(name) + " " + std::to_string(count));
        ids[0] = name == u"n" ? 7 : DISPID_UNKNOWN;
        return ids[0] == 7 ? S_OK : DISP_E_UNKNOWNNAME;
    }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO*, UINT*) override {
        std::string line = "invoke " + std::to_string(id) + " flags " + std::to_string(flags);
        if (params != nullptr && params->cArgs == 1) {
            const VARIANT& arg = params->rgvarg[0];
            line += " named " + std::to_string(params->rgdispidNamedArgs[0]) + " vt " +
                    std::to_string(arg.vt);
            if (arg.vt == VT_BSTR)
                line += " " + BstrToUtf8(arg.bstrVal);
            if (arg.vt == VT_I4)
                line += " " + std::to_string(arg.lVal);
        }
        log.push_back(line);
        if (result != nullptr) {
            VariantInit(result);
            result->vt = VT_I4;
            result->lVal = 99;
        }
        return S_OK;
    }

    long refs = 0;
    std::vector<std::string> log;
};

TEST(ExternalScriptObject, HooksAskGetIDsOfNamesThenInvoke) {
    RecordingDispatch external;
    {
        ScriptContext js;
        platform::gtk::InstallExternalScriptObject(js.get(), &external);
        EXPECT_EQ(external.refs, 1);
        EXPECT_EQ(js.Run("external.n + 1"), "100");
        js.Run("external.n = 'text'; external.n = 5;");
        EXPECT_EQ(js.Run(ReadScript("m")).rfind("TypeError:", 0), 0u);
    }
    const std::vector<std::string> expected = {
        "ids n 1", "invoke 7 flags 2",
        "ids n 1", "invoke 7 flags 4 named -3 vt 8 text",
        "ids n 1", "invoke 7 flags 4 named -3 vt 3 5",
        "ids m 1",
    };
    EXPECT_EQ(external.log, expected);
}

}  // namespace
