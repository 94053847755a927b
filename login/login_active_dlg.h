#pragma once
// The login page panel: a colour-keyed window laid over the main login window, showing the login
// page inside the artwork's frame and the round minimise and close buttons. Every navigation of
// the page passes through it, and a game URL is handed to the game window instead.

#include "browser/web_browser2.h"
#include "platform/dialog.h"
#include "platform/occ.h"
#include "ui/layered_window_helper.h"
#include "ui/png_button.h"

class CLoginDlg;

class CLoginActiveDlg : public CDialogEx {
    DECLARE_DYNAMIC(CLoginActiveDlg)
public:
    explicit CLoginActiveDlg(CLoginDlg* loginDlg);
    ~CLoginActiveDlg() override;

    CLayeredWindowHelper m_layered;
    CBrush m_brKey;
    COLORREF m_crKey;
    CLoginDlg* m_pLoginDlg;
    CWebBrowser2 m_browser;
    CPngButton m_btnMinimize;
    CPngButton m_btnClose;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void InitButtons();

    void OnMove(int x, int y);
    LRESULT OnNcHitTest(CPoint point);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnBnClickedMinimize();
    void OnBnClickedClose();

    void OnBeforeNavigate2(LPDISPATCH pDisp, VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                           VARIANT* PostData, VARIANT* Headers, BOOL* Cancel);
    void OnNavigateComplete2(LPDISPATCH pDisp, VARIANT* URL);
    void OnDocumentComplete(LPDISPATCH pDisp, VARIANT* URL);

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()
};

// Whether a navigation of the login page is the hand-off to the game.
bool IsGameUrl(const std::string& url);
