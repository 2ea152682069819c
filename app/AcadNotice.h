// Why a button did nothing: when AutoCAD cannot be used, a balloon at the pressed button says so without a modal
// box and points to the connection report. It goes away at the next click in the dialog or after some seconds,
// and changes nothing of the dialog's layout.
#pragma once

#include <windows.h>

#include <string>

#include "cadlink/AcadStatus.h"

namespace swivex {

// The balloon's text (UTF-8) for each failure.
std::string AcadNoticeText(TAcadFailure failure);

void ShowAcadNotice(HWND form, HWND button, TAcadFailure failure);
// The same balloon with a title and text of its own (UTF-8): objects a button's action could not turn.
void ShowNotice(HWND form, HWND button, const std::string& titleUtf8, const std::string& textUtf8);
// The same balloon, titled "取込", for what a capture has to tell (UTF-8): a pick that did not complete, an object
// it cannot turn, clipboard formats not kept.
void ShowCaptureNotice(HWND form, HWND button, const std::string& textUtf8);
void HideAcadNotice(HWND form);

// Call first in the dialog's window procedure: a click in the dialog, a move of it or its window menu ends the
// notice, and the dialog's destruction frees it.
void AcadNoticeSeesMessage(HWND form, UINT message);

}  // namespace swivex
