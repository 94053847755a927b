#pragma once
// Dialogs built from compiled-in templates, run modelessly (Create) or modally (DoModal), and the
// data exchange that binds a dialog's controls to its members.

#include "platform/wnd.h"

using INT_PTR = std::intptr_t;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Attaches control to the dialog's child with the given id (once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    BOOL Create(UINT templateId, CWnd* parent = nullptr);  // modeless
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    UINT m_nIDHelp = 0;  // the template
    CWnd* m_pParentWnd = nullptr;
    int m_nModalResult = -1;
    bool m_bModalEnded = false;
    bool m_bInModalLoop = false;

    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateFromTemplate(UINT templateId, HWND owner, bool modal);
};

class CDialogEx : public CDialog {
    DECLARE_DYNAMIC(CDialogEx)
public:
    CDialogEx() = default;
    explicit CDialogEx(UINT templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}

protected:
    DECLARE_MESSAGE_MAP()
};
