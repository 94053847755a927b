#include "game/confirm_dlg.h"

#include "res/resource_ids.h"

IMPLEMENT_DYNAMIC(CConfirmDlg, CDialogEx)

BEGIN_MESSAGE_MAP(CConfirmDlg, CDialogEx)
ON_BN_CLICKED(IDC_CONFIRM_OK, &CConfirmDlg::OnBnClickedOK)
ON_BN_CLICKED(IDC_CONFIRM_CANCEL, &CConfirmDlg::OnBnClickedCancel)
ON_WM_PAINT()
ON_WM_CLOSE()
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CConfirmDlg::CConfirmDlg(CWnd* parent) : CDialogEx(IDD_CONFIRM_DIALOG, parent) {}

CConfirmDlg::~CConfirmDlg() = default;

void CConfirmDlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, IDC_CONFIRM_OK, m_btnOK);
    DDX_Control(dx, IDC_CONFIRM_CANCEL, m_btnCancel);
    DDX_Control(dx, IDC_CONFIRM_TITLE, m_stTitle);
    DDX_Control(dx, IDC_CONFIRM_MESSAGE, m_stMessage);
}

BOOL CConfirmDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_bmpBack.LoadBitmap(IDB_CONFIRM_BACK);
    m_btnOK.InitGdiPlus();
    m_btnOK.LoadPngImage(IDP_CONFIRM_OK);
    m_btnCancel.InitGdiPlus();
    m_btnCancel.LoadPngImage(IDP_CONFIRM_CANCEL);

    MoveWindow(0, 0, 256, 110, TRUE);
    CenterWindow();
    m_btnOK.SetWindowPos(nullptr, 40, 72, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    m_btnCancel.SetWindowPos(nullptr, 140, 72, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    m_titleFont.CreatePointFont(120, "Arial");
    m_stTitle.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_titleFont)),
                          TRUE);

    if (m_nMode == CONFIRM_EXIT_GAME) {
        m_stTitle.SetWindowText("关闭游戏");
        m_stMessage.SetWindowText("确定要退出游戏吗?");
    } else if (m_nMode == CONFIRM_SELECT_SERVER) {
        m_stTitle.SetWindowText("选服");
        m_stMessage.SetWindowText("是否退出当前游戏，重新选择新服务器?");
    }
    m_stTitle.MoveWindow(79, 10, 100, 30, TRUE);
    m_stMessage.MoveWindow(28, 34, 200, 66, TRUE);
    return TRUE;
}

void CConfirmDlg::OnPaint() {
    if (IsIconic()) {
        CDialogEx::OnPaint();
        return;
    }
    CPaintDC dc(this);
    CDC memDc;
    memDc.CreateCompatibleDC(&dc);
    CBitmap* old = memDc.SelectObject(&m_bmpBack);
    const CSize size = m_bmpBack.GetSize();
    CRect client;
    GetClientRect(&client);
    dc.StretchBlt(0, 0, client.Width(), client.Height(), &memDc, 0, 0, size.cx, size.cy, SRCCOPY);
    memDc.SelectObject(old);
    CDialogEx::OnPaint();
}

void CConfirmDlg::OnClose() {
    CDialogEx::OnClose();
}

HBRUSH CConfirmDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
    HBRUSH brush = CDialogEx::OnCtlColor(dc, wnd, ctlColor);
    const int id = wnd ? wnd->GetDlgCtrlID() : 0;
    if (id != IDC_CONFIRM_TITLE && id != IDC_CONFIRM_MESSAGE)
        return brush;
    // White text straight on the background picture.
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(255, 255, 255));
    CRect rect;
    wnd->GetWindowRect(&rect);
    ScreenToClient(&rect);
    CDC* dialogDc = GetDC();
    dc->BitBlt(0, 0, rect.Width(), rect.Height(), dialogDc, rect.left, rect.top, SRCCOPY);
    ReleaseDC(dialogDc);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void CConfirmDlg::OnBnClickedOK() {
    CDialogEx::OnOK();
}
void CConfirmDlg::OnBnClickedCancel() {
    CDialogEx::OnCancel();
}
