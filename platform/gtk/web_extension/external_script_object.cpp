#include "platform/gtk/web_extension/external_script_object.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "platform/automation.h"

namespace platform::gtk {

namespace {

constexpr DISPID kDispidPropertyPut = -3;  // the named argument of a property put
constexpr const char* kClassKey = "launcher-external-class";

// A member's identifier, if the object knows the name.
bool LookUp(IDispatch* object, const char* name, DISPID* id) {
    std::u16string wide = Utf8ToUtf16(name);
    LPOLESTR names[] = {wide.data()};
    *id = DISPID_UNKNOWN;
    return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id) == S_OK;
}

// Throws the engine's own TypeError (the page's constructor, so `instanceof TypeError` holds).
void ThrowTypeError(JSCContext* context, const std::string& message) {
    JSCException* before = jsc_context_get_exception(context);
    JSCValue* thrower =
        jsc_context_evaluate(context, "(function (m) { throw new TypeError(m); })", -1);
    if (thrower != nullptr && jsc_value_is_function(thrower)) {
        // The call's exception lands in the context, which hands it on to the page's script.
        JSCValue* result =
            jsc_value_function_call(thrower, G_TYPE_STRING, message.c_str(), G_TYPE_NONE);
        if (result != nullptr)
            g_object_unref(result);
    }
    if (thrower != nullptr)
        g_object_unref(thrower);
    // A page that broke its TypeError still gets an error by that name.
    if (jsc_context_get_exception(context) == before)
        jsc_context_throw_with_name(context, "TypeError", message.c_str());
}

void ThrowMissingMember(JSCContext* context, const char* name) {
    ThrowTypeError(context, std::string("window.external has no member named '") + name + "'");
}

void ThrowFailure(JSCContext* context, const char* name, HRESULT hr) {
    char code[16];
    std::snprintf(code, sizeof(code), "0x%08X", static_cast<unsigned>(hr));
    jsc_context_throw_with_name(
        context, "Error",
        (std::string("window.external.") + name + " failed (" + code + ")").c_str());
}

JSCValue* ToScript(JSCContext* context, const VARIANT& v) {
    switch (v.vt) {
        case VT_BSTR: {
            const std::string text = BstrToUtf8(v.bstrVal);
            return jsc_value_new_string(context, text.c_str());
        }
        case VT_I4:
            return jsc_value_new_number(context, v.lVal);
        case VT_I2:
            return jsc_value_new_number(context, v.iVal);
        case VT_BOOL:
            return jsc_value_new_boolean(context, v.boolVal != VARIANT_FALSE);
        case VT_NULL:
            return jsc_value_new_null(context);
        default:
            return jsc_value_new_undefined(context);
    }
}

// A script value as an automation argument; the caller clears it.
VARIANT FromScript(JSCValue* value) {
    VARIANT v;
    VariantInit(&v);
    if (jsc_value_is_undefined(value)) {
        v.vt = VT_EMPTY;
    } else if (jsc_value_is_null(value)) {
        v.vt = VT_NULL;
    } else if (jsc_value_is_boolean(value)) {
        v.vt = VT_BOOL;
        v.boolVal = jsc_value_to_boolean(value) ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (jsc_value_is_number(value) && [&] {
                   const double d = jsc_value_to_double(value);
                   return std::trunc(d) == d && d >= std::numeric_limits<LONG>::min() &&
                          d <= std::numeric_limits<LONG>::max();
               }()) {
        v.vt = VT_I4;
        v.lVal = jsc_value_to_int32(value);
    } else {
        char* text = jsc_value_to_string(value);
        v.vt = VT_BSTR;
        v.bstrVal = Utf8ToBstr(text != nullptr ? text : "");
        g_free(text);
    }
    return v;
}

JSCValue* GetMember(JSCClass* /*cls*/, JSCContext* context, gpointer instance, const char* name) {
    auto* object = static_cast<IDispatch*>(instance);
    DISPID id = DISPID_UNKNOWN;
    if (!LookUp(object, name, &id)) {
        // Returning nothing would read as undefined: a missing member is an error instead.
        ThrowMissingMember(context, name);
        return nullptr;
    }
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                      &none, &result, nullptr, nullptr);
    if (FAILED(hr)) {
        VariantClear(&result);
        ThrowFailure(context, name, hr);
        return nullptr;
    }
    JSCValue* value = ToScript(context, result);
    VariantClear(&result);
    return value;
}

gboolean SetMember(JSCClass* /*cls*/, JSCContext* context, gpointer instance, const char* name,
                   JSCValue* value) {
    auto* object = static_cast<IDispatch*>(instance);
    DISPID id = DISPID_UNKNOWN;
    if (!LookUp(object, name, &id)) {
        ThrowMissingMember(context, name);
        return TRUE;
    }
    VARIANT arg = FromScript(value);
    DISPID named = kDispidPropertyPut;
    DISPPARAMS params{&arg, &named, 1, 1};
    const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                                      &params, nullptr, nullptr, nullptr);
    VariantClear(&arg);
    if (FAILED(hr))
        ThrowFailure(context, name, hr);
    // Handled either way: the script object itself never keeps a value.
    return TRUE;
}

void ReleaseInstance(gpointer instance) {
    static_cast<IDispatch*>(instance)->Release();
}

// No has_property hook: with one, the engine would skip get_property for unknown names and
// read them as undefined instead of failing.
JSCClassVTable MakeVTable() {
    JSCClassVTable table{};
    table.get_property = &GetMember;
    table.set_property = &SetMember;
    return table;
}

}  // namespace

void InstallExternalScriptObject(JSCContext* context, IDispatch* external) {
    static JSCClassVTable vtable = MakeVTable();
    // One class per context; a context outlives the documents of a frame that reuse it.
    auto* cls = static_cast<JSCClass*>(g_object_get_data(G_OBJECT(context), kClassKey));
    if (cls == nullptr) {
        cls = jsc_context_register_class(context, "External", nullptr, &vtable, &ReleaseInstance);
        g_object_set_data(G_OBJECT(context), kClassKey, cls);
    }
    external->AddRef();
    JSCValue* object = jsc_value_new_object(context, external, cls);
    JSCValue* global = jsc_context_get_global_object(context);
    jsc_value_object_define_property_data(global, "external", JSC_VALUE_PROPERTY_CONFIGURABLE,
                                          object);
    g_object_unref(global);
    g_object_unref(object);
}

}  // namespace platform::gtk
