// The application object of Setup.exe.
#pragma once
#include "framework/Afx.h"

class CLaunchApp : public CWinApp {
public:
    CLaunchApp() = default;
    // Hands over to a copy that is running already, or runs the launcher window modally; the process
    // ends either way, so this always returns FALSE.
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
