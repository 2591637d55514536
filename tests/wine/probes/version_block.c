/* Reads a file's version block back the way Windows tools do, through
   GetFileVersionInfoA and VerQueryValueA, and prints what it holds.
   Usage: version_block <file> */
#include "print.h"

static const char *const names[] = {
    "CompanyName",      "FileDescription", "FileVersion",    "InternalName", "LegalCopyright",
    "OriginalFilename", "ProductName",     "ProductVersion", "Model Number",
};

int main(int argc, char **argv) {
  if (argc != 2) {
    print("usage: version_block <file>\n");
    return 2;
  }
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(argv[1], &handle);
  static BYTE block[65536];
  if (size == 0 || size > sizeof block || !GetFileVersionInfoA(argv[1], 0, size, block)) {
    print("no version block\n");
    return 3;
  }
  VS_FIXEDFILEINFO *fixed = NULL;
  UINT length = 0;
  if (VerQueryValueA(block, "\\", (void **)&fixed, &length) && length >= sizeof *fixed)
    print("fixed_file_version=%u.%u.%u.%u\nfixed_product_version=%u.%u.%u.%u\n",
          HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
          HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS),
          HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
          HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS));
  WORD *translation = NULL;
  if (!VerQueryValueA(block, "\\VarFileInfo\\Translation", (void **)&translation, &length) ||
      length < 2 * sizeof(WORD)) {
    print("no translation\n");
    return 3;
  }
  print("translation=%04X/%04X\n", translation[0], translation[1]);
  for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
    char path[128];
    wsprintfA(path, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1], names[i]);
    char *text = NULL;
    if (VerQueryValueA(block, path, (void **)&text, &length) && text != NULL)
      print("%s=%s\n", names[i], text);
    else
      print("%s is missing\n", names[i]);
  }
  return 0;
}
