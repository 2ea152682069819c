// The folder the exports go to: its path is typed into AutoCAD's DXFOUT in the ANSI code page, so it must come
// through that code page exactly (no best-fit "é" → "e", which names a folder that does not exist).
#pragma once

#include <string>

namespace swivex {

// Which folder was taken, and why.
enum class TExportFolderKind {
  ExeFolder,                // the exe's folder as it is named
  ExeFolderShortName,       // its short (8.3) name: the name does not survive the ANSI code page
  TempNotWritable,          // %TEMP%\Swivex: the exe's folder cannot be written
  TempNotTypable,           // %TEMP%\Swivex: the exe's folder's name cannot be typed and it has no short name
  Untypable,                // nothing better: a path the ANSI code page cannot hold (the export will not appear)
};

struct TExportFolder {
  std::string Ansi;      // with its trailing separator, bytes in the ANSI code page
  std::wstring Wide;     // the same path in UTF-16
  TExportFolderKind Kind = TExportFolderKind::ExeFolder;
};

// The exe's folder when a file can be made there and its path can be typed (else its short name), else a folder
// "Swivex" in the user's temporary folder (by its short name, when needed).
TExportFolder ChooseExportFolder();

// The running exe's full path.
std::wstring RunningExePath();

// Whether UTF-16 text comes through the ANSI code page unchanged: no default character, no best fit.
bool SurvivesAnsiCodePage(const std::wstring& text);

// For the connection report (UTF-8): which path and why.
std::string ExportFolderReportLine(const TExportFolder& folder);

}  // namespace swivex
