// The redraw ("作成"): the new direction from the dialog's new-angle row, and the PLINE and LINE commands sent
// to AutoCAD through the CAD host link.
#pragma once

#include "workflows/DialogFields.h"

namespace swivex {

// The click handler of "作成". A field that does not convert raises TConvertError for the application's handler.
void Button1Click(const TDialogFields& dialog);

}  // namespace swivex
