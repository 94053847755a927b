#pragma once
// Run-time class records: a class's name and base, and optionally a factory.

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    const CRuntimeClass* m_pBaseClass;
    class CObject* (*m_pfnCreateObject)();
    bool IsDerivedFrom(const CRuntimeClass* base) const {
        for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass)
            if (c == base)
                return true;
        return false;
    }
    class CObject* CreateObject() const {
        return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
    }
};

class CObject {
public:
    virtual ~CObject() = default;
    static const CRuntimeClass classCObject;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
    bool IsKindOf(const CRuntimeClass* c) const { return GetRuntimeClass()->IsDerivedFrom(c); }
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)               \
public:                                           \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, pfnNew)                              \
    const CRuntimeClass class_name::class##class_name = {#class_name,                             \
                                                         static_cast<int>(sizeof(class_name)),    \
                                                         RUNTIME_CLASS(base_class_name), pfnNew}; \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                                    \
        return RUNTIME_CLASS(class_name);                                                         \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* class_name::CreateObject() {                \
        return new class_name;                           \
    }                                                    \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, class_name::CreateObject)
