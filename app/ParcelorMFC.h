// CParcelorApp: the application object that runs the main dialog and ends the program.
#pragma once

#include "framework/WinApp.h"

class CParcelorApp : public CWinApp {
public:
    bool InitInstance() override;
};
