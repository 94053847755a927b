#pragma once
// Asks the player to confirm leaving the game: quitting, or going back to choose a server.
// DoModal answers IDOK only for the confirm button or Enter.

#include "platform/controls.h"
#include "platform/dialog.h"
#include "ui/png_button.h"

constexpr int CONFIRM_EXIT_GAME = 0;
constexpr int CONFIRM_SELECT_SERVER = 1;

class CConfirmDlg : public CDialogEx {
    DECLARE_DYNAMIC(CConfirmDlg)
public:
    explicit CConfirmDlg(CWnd* parent = nullptr);
    ~CConfirmDlg() override;

    int m_nMode = CONFIRM_EXIT_GAME;
    CPngButton m_btnOK;
    CPngButton m_btnCancel;
    CBitmap m_bmpBack;
    CStatic m_stTitle;
    CStatic m_stMessage;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    void OnBnClickedOK();
    void OnBnClickedCancel();
    void OnPaint();
    void OnClose();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);

    CFont m_titleFont;  // lives as long as the dialog

    DECLARE_MESSAGE_MAP()
};
