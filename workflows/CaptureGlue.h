// The capture ("取込"): runs the capture's steps against AutoCAD through the CAD host link and shows the result in
// the dialog. The steps are public so that the benchmark can time them one by one; Button4Click runs them all.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "workflows/Capture.h"
#include "workflows/DialogFields.h"

namespace swivex {

// The folder the exports go to, with its trailing separator (see ChooseExportFolder).
std::string ExportFolder();

// Step 1: the temporary file name in the export folder, any file of that name deleted.
std::string PrepareTempDxfName();

// Steps 2 and 3: AutoCAD brought to the foreground and showing a prompt; TAcadUnavailable (NotFound or NoPrompt)
// when it cannot be used.
void RequireAcadReady();

// Step 4: the UCS as echoed, with each echo's rounding.
TEchoedUcs QueryUcs();

// Step 5: the single-object selection and the wait until AutoCAD is done with it, keeping the dialog alive
// meanwhile. Idle: the prompt came back; TimedOut: waitLimitMs passed; DialogClosed: the dialog was closed (or
// the application told to quit) during the wait, and the capture must end. Raises TAcadUnavailable(NotFound)
// when AutoCAD's main frame goes away during the wait.
enum class TPickWaitEnd { Idle, TimedOut, DialogClosed };
TPickWaitEnd PickOneObject(HWND form, long long waitLimitMs = kPickWaitLimitMs);

// The UCS of the last export's header, when it gives all three vectors.
std::optional<TUcs> ExportedUcs();

// Steps 6 and 7: a pick that completed is exported; when the history shows no finished pick, or the wait ran
// out, the selection is cancelled (U+0003) so that AutoCAD does not go on waiting, and nothing is exported.
TPickStatus ExportPick(TPickWaitEnd waitEnd, const std::string& tempFileName);

// Steps 5 to 7 as one: what every pick from the dialog runs (the capture, and any other field filled from a
// picked object). Call it with a TClipboardKeeper alive, so the user's clipboard comes back afterwards.
TPickStatus PickAndExport(HWND form, const std::string& tempFileName, long long waitLimitMs = kPickWaitLimitMs);

// Step 8: read, project and show. Returns what the balloon should say (UTF-8): empty when the measurement is
// shown; that a line or polyline is wanted when there was no file or nothing in it to measure, and then the entity
// store, RefSegment and the dialog keep what the previous capture left; that meshes were left out.
std::string ReadAndShow(const TDialogFields& dialog, const std::string& tempFileName, const TEchoedUcs& ucs);
// Its first half: read the export into the entity store and project it; None when there was no file, or nothing
// in it to measure. The meshes taken out of the store are counted in *meshes when given.
TSegmentSource ReadAndProject(const std::string& tempFileName, const TEchoedUcs& ucs, std::int32_t* meshes = nullptr);

// The caption and the current-value fields, and the same degrees, minutes and seconds in the new-angle row.
void ShowMeasurement(const TDialogFields& dialog, bool polyline, TPoint3D first, TPoint3D second);

// Steps 1 to 7 with the user's clipboard kept aside, then, when the pick was exported, `useExport` with the
// export's name and the UCS. Returns what the balloon should say (UTF-8; empty when there is nothing to tell): a
// pick that did not complete, what `useExport` says, clipboard formats not kept. Nothing more when the dialog
// goes during the wait.
std::string PickExportAndUse(
    const TDialogFields& dialog,
    const std::function<std::string(const std::string& tempFileName, const TEchoedUcs& ucs)>& useExport);

// The click handler of "取込". Returns what the balloon should say (UTF-8; empty when the capture has nothing to
// tell): a pick that did not complete, an object that is no line or polyline, meshes left out, clipboard formats
// not kept.
std::string Button4Click(const TDialogFields& dialog);

}  // namespace swivex
