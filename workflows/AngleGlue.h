// The dialog's angle conventions and whole angles (Win32 glue): a whole angle in 変更後's degrees field split
// into its three fields, the values on show given in another convention, and 角度を図形から取得..., a second pick
// whose direction fills 変更後.
#pragma once

#include <string>

#include "workflows/DialogFields.h"

namespace swivex {

// A whole angle ("229°50′32″", "229-50-32", ...) in eDo2 goes into eDo2, eFun2 and eByo2; any other text stays.
void SplitWholeAngle(const TDialogFields& dialog);

// The directions on show, given in the convention `to` instead of dialog.Convention: the measured one from the
// reference segment (when a capture showed one), the typed one and the last 作成's when they read as numbers.
void ShowInConvention(const TDialogFields& dialog, TAngleConvention to);

// One pick as 取込 makes it; the direction of the picked object's first segment fills 変更後 (eDo2, eFun2, eByo2
// and eKakudo2) in the dialog's convention. The capture's objects, 現在値 and the caption stay as they were.
// Returns what the balloon should say, as 取込 does.
std::string TakeAngleFromObject(const TDialogFields& dialog);

}  // namespace swivex
