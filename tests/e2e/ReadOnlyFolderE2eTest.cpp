// An exe in a folder that cannot be written: the export goes to a "Swivex" folder in the user's temporary folder.
// readonly_folder.sh makes the folder (immutable, so that not even root, as which Wine runs here, can write it)
// and names it in SWIVEX_E2E_READONLY_FOLDER.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "E2eChecks.h"

namespace swivex::e2e {
namespace {

TEST(ReadOnlyFolderE2e, ExportGoesToTheSwivexTempFolder) {
  const wchar_t* given = _wgetenv(L"SWIVEX_E2E_READONLY_FOLDER");
  if (!given) GTEST_SKIP() << "run by readonly_folder.sh";
  const std::wstring folder = std::wstring(given) + L"\\";
  const std::wstring probe = folder + L"probe.txt";
  const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_EQ(file, INVALID_HANDLE_VALUE) << "the folder can be written: the case tests nothing";

  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring exports = std::wstring(temp) + L"Swivex\\";
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(exports), ignored);  // made by the tool when needed

  TSession s(Scenario("line 0,0,0 3,4,0"), true, L"", true, folder);
  EXPECT_TRUE(s.Press(IdButton2).empty());
  ExpectMeasurement(s, L"回転処理　線", L"5.000000", L"53.13010235", L"53", L"7", L"48.368475");
  const auto commands = s.Commands();
  std::wstring dxfOut;
  for (const auto& c : commands)
    if (c.rfind("\x03" "DXFOUT \"", 0) == 0) dxfOut = Widen(c);
  ASSERT_EQ(dxfOut.find(L"\x03" L"DXFOUT \"" + exports), 0u) << Narrow(dxfOut);
  const std::wstring name = dxfOut.substr(9, dxfOut.find(L'"', 9) - 9);
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(name))) << Narrow(name);
  std::filesystem::remove_all(std::filesystem::path(exports), ignored);
}

}  // namespace
}  // namespace swivex::e2e
