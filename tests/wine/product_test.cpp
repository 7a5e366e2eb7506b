// The product as Windows sees it: version record and manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring ProductPath() {
  // The build passes the exe's host path; Wine maps the host root to Z:.
  std::wstring path = L"Z:";
  for (const char* c = TW_PRODUCT_EXE; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return path;
}

TEST(Product, VersionRecordIs1100) {
  const std::wstring path = ProductPath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length));
  EXPECT_EQ(info->dwFileVersionMS, 0x00010001u);
  EXPECT_EQ(info->dwFileVersionLS, 0x00000000u);
  EXPECT_EQ(info->dwProductVersionMS, 0x00010001u);
  EXPECT_EQ(info->dwProductVersionLS, 0x00000000u);
}

TEST(Product, ManifestAsksForAsInvoker) {
  HMODULE image = LoadLibraryExW(ProductPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr);
  HRSRC resource = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(resource, nullptr);
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(image, resource)));
  const std::string manifest(bytes, SizeofResource(image, resource));
  EXPECT_NE(manifest.find("requestedExecutionLevel level=\"asInvoker\""), std::string::npos);
  FreeLibrary(image);
}

}  // namespace
