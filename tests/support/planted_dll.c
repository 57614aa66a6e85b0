// A DLL such as a Downloads folder may hold beside the launcher: loaded into any process, it
// appends its own path to MARKER, so that a test sees it ran. Built with QT_METADATA (the bytes
// of Qt's plugin metadata), it also looks like a Qt plugin to any Qt that scans for plugins.
#include <windows.h>

#ifdef QT_METADATA
__attribute__((section(".qtmetad"), used)) static const unsigned char qtMetaData[] = {QT_METADATA};
#endif

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
