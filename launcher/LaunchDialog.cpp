#include "launcher/LaunchDialog.h"
#include "res/resource.h"

namespace {
// Distance of the pictures' left edge from the window's right edge, and their tops.
constexpr int kButtonInsetFromRight = 174;
struct ButtonPlace {
    int nID;
    int nTop;
};
constexpr ButtonPlace kButtonPlaces[] = {
    {IDC_LAUNCH_INSTALL, 60},
    {IDC_LAUNCH_README, 198},
    {IDC_LAUNCH_QUIT, 336},
};

// A second start of the program finds this window by a property named after the executable.
LPCSTR InstancePropertyName() {
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->m_pszExeName : nullptr;
}
} // namespace

BEGIN_MESSAGE_MAP(CLaunchDialog, CDialog)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

CLaunchDialog::CLaunchDialog(CWnd* pParent) : CDialog(IDD_LAUNCH, pParent) {
    m_hIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(IDR_MAINFRAME) : ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CLaunchDialog::~CLaunchDialog() = default;

int CLaunchDialog::OnCreate(LPCREATESTRUCTA) {
    const LRESULT result = Default();
    if (LPCSTR pszName = InstancePropertyName())
        ::SetPropA(m_hWnd, pszName, m_hWnd);
    return int(result);
}

void CLaunchDialog::OnDestroy() {
    if (LPCSTR pszName = InstancePropertyName())
        ::RemovePropA(m_hWnd, pszName);
    Default();
}

BOOL CLaunchDialog::OnInitDialog() {
    CDialog::OnInitDialog();

    SendMessage(WM_SETICON, ICON_BIG, LPARAM(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, LPARAM(m_hIcon));

    CBitmap background;
    background.LoadBitmap(IDB_BACKGROUND);
    BITMAP bm{};
    background.GetBitmap(&bm);

    SetWindowText("Setup");
    SetWindowPos(&wndTop, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE);

    CRect rcClient;
    GetClientRect(&rcClient);
    for (const ButtonPlace& place : kButtonPlaces) {
        CWnd* pButton = GetDlgItem(place.nID);
        if (!pButton)
            continue;
        CRect rc;
        pButton->GetWindowRect(&rc);
        pButton->MoveWindow(rcClient.Width() - kButtonInsetFromRight, place.nTop, rc.Width(), rc.Height(), TRUE);
    }
    CenterWindow();
    return TRUE;
}

void CLaunchDialog::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, WPARAM(dc.GetSafeHdc()), 0);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    CRect rc;
    GetClientRect(&rc);
    dc.DrawIcon((rc.Width() - cxIcon + 1) / 2, (rc.Height() - cyIcon + 1) / 2, m_hIcon);
}

HCURSOR CLaunchDialog::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }
