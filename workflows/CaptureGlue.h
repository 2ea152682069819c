// The capture ("取込"): runs the capture's steps against AutoCAD through the CAD host link and shows the result in
// the dialog. The steps are public so that the benchmark can time them one by one; Button4Click runs them all.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "workflows/Capture.h"
#include "workflows/DialogFields.h"

namespace swivex {

// The folder the exports go to, with its trailing separator: the exe's folder when a file can be made there,
// else a folder "Swivex" in the user's temporary folder (an exe under Program Files, a read-only share).
std::string ExportFolder();

// Step 1: the temporary file name in the export folder, any file of that name deleted.
std::string PrepareTempDxfName();

// Steps 2 and 3: AutoCAD brought to the foreground and showing a prompt; TAcadUnavailable (NotFound or NoPrompt)
// when it cannot be used.
void RequireAcadReady();

// Step 4: the UCS as echoed, with each echo's rounding.
TEchoedUcs QueryUcs();

// Step 5: the single-object selection and the wait for the idle prompt, keeping the dialog alive meanwhile.
// False when the dialog was closed (or the application told to quit) during the wait: the capture must end.
bool PickOneObject(HWND form);

// The UCS of the last export's header, when it gives all three vectors.
std::optional<TUcs> ExportedUcs();

// Steps 6 and 7: the export of the picked object when the history shows a finished selection.
void ExportPick(const std::string& tempFileName);

// Step 8: read, project and show. False when there was no file, or nothing in it to measure. A mesh in the file
// is not measured: TObjectsLeftOut once the rest is shown.
bool ReadAndShow(const TDialogFields& dialog, const std::string& tempFileName, const TEchoedUcs& ucs);
// Its first half: read the export into the entity store and project it; None when there was no file, or nothing
// in it to measure. The meshes taken out of the store are counted in *meshes when given.
TSegmentSource ReadAndProject(const std::string& tempFileName, const TEchoedUcs& ucs, std::int32_t* meshes = nullptr);

// The caption and the current-value fields, and the same degrees, minutes and seconds in the new-angle row.
void ShowMeasurement(const TDialogFields& dialog, bool polyline, TPoint3D first, TPoint3D second);

// Steps 1 to 7, one pick and its export as 取込 makes them, then `useExport` with the export's name and the UCS
// while the user's clipboard is still kept aside. Nothing more when the dialog goes during the wait.
void PickAndExport(const TDialogFields& dialog,
                   const std::function<void(const std::string& tempFileName, const TEchoedUcs& ucs)>& useExport);

// The click handler of "取込".
void Button4Click(const TDialogFields& dialog);

}  // namespace swivex
