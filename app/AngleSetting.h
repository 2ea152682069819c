// The angle convention the user chose in the window menu (角度の基準), remembered beside the dialog's place under
// HKEY_CURRENT_USER\Software\Swivex as the DWORD AngleConvention (0 数学角, 1 方向角, 2 図面の設定).
#pragma once

#include <string>

#include "geometry/AngleConvention.h"

namespace swivex {

// The saved convention; the mathematical angle when none is saved or the value is unknown.
TAngleConvention LoadAngleConvention();
void SaveAngleConvention(TAngleConvention convention);

// The group captions in a convention (UTF-16): "現在値" and "変更後" for the mathematical angle, as always, and
// with the convention's name otherwise ("現在値（方向角）").
std::wstring GroupCaption(const wchar_t* group, TAngleConvention convention);

// The connection report's lines on the convention (UTF-8): its name, and for the drawing's the header's $ANGBASE
// and $ANGDIR, or that the header had neither and the mathematical angle is shown.
std::string AngleConventionReport(TAngleConvention convention, const TDrawingAngles& drawing);

}  // namespace swivex
