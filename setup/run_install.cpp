#include "setup.h"
#include "app_manager.h"
#include "text_join.h"
#include "../package/package.h"

// One message box per failure; a null caption means "Setup".
static void ReportFailure(UINT textId, const char *caption)
{
    ResString text, setupCaption;
    MessageBoxA(NULL, text.LoadResString(textId), caption ? caption : setupCaption.LoadResString(IDS_SETUP), MB_OK);
}

// The byte after the last backslash; a forward slash is no separator here.
static char *AfterLastBackslash(char *path)
{
    char *after = NULL;
    for (char *at = path; *at; ++at)
        if (*at == '\\')
            after = at + 1;
    return after;
}

void RunInstall()
{
    char appPath[MAX_PATH];
    if (!ReadAppManagerPath(appPath))
        return ReportFailure(IDS_NO_APPMGR, NULL);

    char installFolder[MAX_PATH];
    lstrcpyA(installFolder, appPath);
    char *folderEnd = AfterLastBackslash(installFolder);
    if (!folderEnd)
        return ReportFailure(IDS_NO_APPMGR, NULL);
    *folderEnd = '\0';

    char folderName[80];
    folderName[0] = '\0';
    CopyResourceString(RT_SETUPSTRING, IDR_INSTALLFOLDER, folderName, sizeof folderName);
    if (!AppendText(installFolder, sizeof installFolder, folderName))
        return ReportFailure(IDS_NO_INSTALL_DIR, installFolder);
    if (!CreateDirectoryA(installFolder, NULL) && GetLastError() != ERROR_ALREADY_EXISTS)
        return ReportFailure(IDS_NO_INSTALL_DIR, installFolder);

    UINT index = 1;
    int failed = 0;
    while (ExtractPayload(index, installFolder, &failed))
        ++index;
    if (failed)
        return ReportFailure(IDS_WRITE_FAILED, installFolder);

    char argument[MAX_PATH];
    lstrcpyA(argument, "\"");
    if (!AppendText(argument, sizeof argument, installFolder) || !AppendText(argument, sizeof argument, "\\"))
        return ReportFailure(IDS_MISSING_INFO, NULL);
    int used = lstrlenA(argument);
    if (!CopyResourceString(RT_PAYLOADNAME, 1, argument + used, sizeof argument - used)
        || !AppendText(argument, sizeof argument, "\""))
        return ReportFailure(IDS_MISSING_INFO, NULL);

    char commandLine[MAX_PATH];
    lstrcpyA(commandLine, appPath);
    if (!AppendText(commandLine, sizeof commandLine, " ") || !AppendText(commandLine, sizeof commandLine, argument))
        return ReportFailure(IDS_MISSING_INFO, NULL);

    StartAppManager(appPath, commandLine);
}
