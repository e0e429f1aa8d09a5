// The class library in one include.
#pragma once
#include <windows.h>
#include "framework/Types.h"
#include "framework/Exception.h"
#include "framework/String.h"
#include "framework/File.h"
#include "framework/GdiObject.h"
#include "framework/DC.h"
#include "framework/Menu.h"
#include "framework/CmdTarget.h"
#include "framework/Wnd.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/App.h"
