#pragma once
// The main login window: the shaped artwork, carrying the login page panel on top of it. The two
// move, show, hide and minimise together.

#include "platform/dialog.h"
#include "platform/occ.h"
#include "ui/layered_window_helper.h"

class CLoginActiveDlg;

class CLoginDlg : public CDialogEx {
    DECLARE_DYNAMIC(CLoginDlg)
public:
    explicit CLoginDlg(CWnd* parent = nullptr);
    ~CLoginDlg() override;

    HICON m_hIcon = nullptr;
    BOOL m_bMainLeads = FALSE;  // TRUE after this window's hit test, FALSE after the panel's
    CLoginActiveDlg* m_pLoginActiveDlg = nullptr;
    CLayeredWindowHelper m_layered;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    int OnCreate(LPCREATESTRUCT cs);
    LRESULT OnNcHitTest(CPoint point);
    void OnMove(int x, int y);
    void OnShowWindow(BOOL show, UINT status);
    void OnClose();

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()
};
