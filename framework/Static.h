// CStatic: a static text control that a dialog binds with DDX_Control.
#pragma once

#include "framework/Wnd.h"

class CStatic : public CWnd { };
