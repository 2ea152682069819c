// Starting and stopping the stand-in CAD host from the Windows tests: a scenario written to a temp folder, the
// ready file waited for, the log and the run-time control channel at hand.
#pragma once

#include <windows.h>

#include <string>

namespace swivex {

struct TStandin {
  std::wstring Folder;
  PROCESS_INFORMATION Process{};
  HWND Main = nullptr, Text = nullptr, Floating = nullptr, Prompt = nullptr, Command = nullptr;
};

// Starts standin.exe with the scenario (UTF-8; log, JSON and ready-file lines are added) and waits for it to be
// ready. Returns false with a message when it does not come up within 20 seconds.
bool StartStandin(TStandin& standin, const std::string& scenario, std::string& error);
// Closes the host (WM_CLOSE) and waits for its process to end; kills it if it does not.
void StopStandin(TStandin& standin);
// The host's log so far (UTF-8).
std::string StandinLog(const TStandin& standin);
// Applies one scenario line at run time (WM_COPYDATA with dwData 2); true when the host took it.
bool StandinControl(const TStandin& standin, const std::string& line);

// Starts "standin.exe --hold-clipboard ms" and waits until it holds the clipboard.
bool StartClipboardHolder(PROCESS_INFORMATION& process, int ms, std::string& error);
void WaitAndClose(PROCESS_INFORMATION& process, DWORD ms);

// Text in the ANSI code page, and back.
std::string AnsiFromUtf8(const std::string& utf8);

}  // namespace swivex
