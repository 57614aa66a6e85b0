// A library such as a Downloads folder may hold beside the launcher: loaded into any process, it
// appends its own path to MARKER, so that a test sees which ran. Built with QT_METADATA (the
// bytes of Qt's plugin metadata, from qt_plugin_metadata.py), it also looks like a Qt plugin to
// any Qt that scans for plugins. A DLL for Windows, a shared object elsewhere.
#ifdef _WIN32
#include <windows.h>
#define METADATA_SECTION ".qtmetad"  // Qt's ".qtmetadata", cut to the 8 characters PE allows
#else
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#define METADATA_SECTION ".qtmetadata"
#endif

#ifdef QT_METADATA
__attribute__((section(METADATA_SECTION), used)) static const unsigned char qtMetaData[] = {
    QT_METADATA};
#endif

#ifdef _WIN32
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    char path[MAX_PATH + 2];
    DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    path[length++] = '\r';
    path[length++] = '\n';
    HANDLE marker = CreateFileA(MARKER, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written;
    WriteFile(marker, path, length, &written, NULL);
    CloseHandle(marker);
  }
  return TRUE;
}
#else
__attribute__((constructor)) static void Loaded(void) {
  Dl_info self;
  FILE* marker = fopen(MARKER, "a");
  if (marker) {
    fprintf(marker, "%s\n", dladdr((void*)Loaded, &self) ? self.dli_fname : "a planted library");
    fclose(marker);
  }
}
#endif
