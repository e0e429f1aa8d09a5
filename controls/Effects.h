// The few effects of the skinned controls that leave the process or belong to the launcher: the
// hover sound and the two click actions that open other screens. The real effects are the default;
// a test installs recorders.
#pragma once
#include "framework/Afx.h"

// Plays a wave file synchronously (returns when the sound has ended). A file that cannot be found
// gives the system's default sound.
void PlaySoundFile(CString strFileName);

// Replaces the sound player (null restores the real one); returns the player that was installed.
using SoundPlayerFn = void (*)(const CString& strFileName);
SoundPlayerFn SetSoundPlayer(SoundPlayerFn pfnPlayer);

// The launcher reaches its screens from the hover buttons through these. Until they are set (or
// when set to null) the actions do nothing.
using HoverActionFn = void (*)();
void SetHoverActionHandlers(HoverActionFn pfnShowChooser, HoverActionFn pfnOpenReadme);
void RunShowChooserAction();
void RunOpenReadmeAction();
