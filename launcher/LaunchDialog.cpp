#include "launcher/LaunchDialog.h"
#include "res/resource.h"

// The nine button faces: loaded once by the launcher, lent to the buttons, and released only when
// the process ends, after every window is gone.
CBitmap g_bmInstallNormal, g_bmInstallHover, g_bmInstallPressed;
CBitmap g_bmReadmeNormal, g_bmReadmeHover, g_bmReadmePressed;
CBitmap g_bmQuitNormal, g_bmQuitHover, g_bmQuitPressed;

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

BEGIN_MESSAGE_MAP(CLaunchDialog, CBitmapDialog)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

CLaunchDialog::CLaunchDialog(CWnd* pParent)
    : CBitmapDialog(IDD_LAUNCH, pParent),
      m_hIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

CLaunchDialog::~CLaunchDialog() = default;

void CLaunchDialog::DoDataExchange(CDataExchange* pDX) {
    CBitmapDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LAUNCH_README, m_btnReadme);
    DDX_Control(pDX, IDC_LAUNCH_QUIT, m_btnQuit);
    DDX_Control(pDX, IDC_LAUNCH_INSTALL, m_btnInstall);
}

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
    CBitmapDialog::OnInitDialog();
    SetBitmap(IDB_BACKGROUND, BackgroundStretch);

    SendMessage(WM_SETICON, ICON_BIG, LPARAM(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, LPARAM(m_hIcon));

    CBitmap background;
    background.LoadBitmap(IDB_BACKGROUND);
    BITMAP bm{};
    background.GetBitmap(&bm);

    SetWindowText("Setup");
    SetWindowPos(&wndTop, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE);

    g_bmInstallNormal.LoadBitmap(IDB_INSTALL_NORMAL);
    g_bmInstallHover.LoadBitmap(IDB_INSTALL_HOVER);
    g_bmInstallPressed.LoadBitmap(IDB_INSTALL_PRESSED);
    g_bmReadmeNormal.LoadBitmap(IDB_README_NORMAL);
    g_bmReadmeHover.LoadBitmap(IDB_README_HOVER);
    g_bmReadmePressed.LoadBitmap(IDB_README_PRESSED);
    g_bmQuitNormal.LoadBitmap(IDB_EXIT_NORMAL);
    g_bmQuitHover.LoadBitmap(IDB_EXIT_HOVER);
    g_bmQuitPressed.LoadBitmap(IDB_EXIT_PRESSED);

    CRect rcClient;
    GetClientRect(&rcClient);

    m_btnInstall.SetNormalBitmap(g_bmInstallNormal);
    m_btnInstall.SetHoverBitmap(g_bmInstallHover);
    m_btnInstall.SetPressedBitmap(g_bmInstallPressed);
    m_btnInstall.SetAction(actionShowChooser);
    m_btnInstall.SetSiblings(&m_btnQuit, &m_btnReadme);

    m_btnReadme.SetNormalBitmap(g_bmReadmeNormal);
    m_btnReadme.SetHoverBitmap(g_bmReadmeHover);
    m_btnReadme.SetPressedBitmap(g_bmReadmePressed);
    m_btnReadme.SetAction(actionOpenReadme);
    m_btnReadme.SetSiblings(&m_btnQuit, &m_btnInstall);

    m_btnQuit.SetNormalBitmap(g_bmQuitNormal);
    m_btnQuit.SetHoverBitmap(g_bmQuitHover);
    m_btnQuit.SetPressedBitmap(g_bmQuitPressed);
    m_btnQuit.SetAction(actionQuit);
    m_btnQuit.SetSiblings(&m_btnReadme, &m_btnInstall);

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
