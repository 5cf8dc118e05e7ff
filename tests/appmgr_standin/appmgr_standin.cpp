// Stands in for the Windows CE Application Manager: records how it was
// started and whether what it was handed is what the real one relies on,
// then ends at once without showing anything.
//
// Each start appends one record to standin-record.txt beside this program:
//   started: <UTC time>
//   command line: <the command line exactly as received>
//   show window: <the show state it was started with, or "default">
//   verdict: ok | <the first thing that is wrong>
// The real Application Manager is handed one argument, the quoted full path
// of a setup description: an INI whose [CEAppManager] section has Version and
// Component, whose Component section names in CabFiles cabinets that lie
// beside the INI.
#include <windows.h>
#include <string>

namespace {

std::string FolderOf(const std::string &path)
{
    std::string::size_type cut = path.find_last_of('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool StartsWithNoCase(const std::string &text, const std::string &prefix)
{
    return text.size() >= prefix.size()
        && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.data(), static_cast<int>(prefix.size()),
                          prefix.data(), static_cast<int>(prefix.size())) == CSTR_EQUAL;
}

std::string Trim(const std::string &text)
{
    std::string::size_type first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The command line without this program's own path in front, or "" with
// *found false when it does not begin with that path (quoted or not).
std::string AfterProgramPath(const std::string &commandLine, const std::string &self, bool *found)
{
    *found = true;
    if (StartsWithNoCase(commandLine, "\"" + self + "\""))
        return commandLine.substr(self.size() + 2);
    if (StartsWithNoCase(commandLine, self))
        return commandLine.substr(self.size());
    *found = false;
    return std::string();
}

std::string IniValue(const std::string &ini, const std::string &section, const std::string &key)
{
    char value[1024];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, ini.c_str());
    return Trim(value);
}

// "" when the file is a cabinet whose header holds its own size.
std::string CheckCabinet(const std::string &path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "cabinet " + path + " cannot be opened";
    unsigned char header[36] = {};
    DWORD read = 0;
    LARGE_INTEGER size = {};
    BOOL ok = ReadFile(file, header, sizeof header, &read, NULL) && GetFileSizeEx(file, &size);
    CloseHandle(file);
    if (!ok || read != sizeof header)
        return "cabinet " + path + " is too short for a cabinet header";
    if (header[0] != 'M' || header[1] != 'S' || header[2] != 'C' || header[3] != 'F')
        return "cabinet " + path + " has no MSCF signature";
    DWORD declared = header[8] | header[9] << 8 | header[10] << 16 | static_cast<DWORD>(header[11]) << 24;
    if (declared != size.QuadPart)
        return "cabinet " + path + " declares " + std::to_string(declared) + " bytes but holds "
            + std::to_string(size.QuadPart);
    if (header[25] != 1 || header[24] != 3)
        return "cabinet " + path + " is not of format version 1.3";
    return std::string();
}

std::string Verdict(const std::string &commandLine, const std::string &self)
{
    bool found = false;
    std::string rest = AfterProgramPath(commandLine, self, &found);
    if (!found)
        return "the command line does not begin with this program's path " + self;
    std::string::size_type argument = rest.find_first_not_of(' ');
    if (rest.empty() || rest[0] != ' ' || argument == std::string::npos)
        return "no argument after the program's path";
    rest = rest.substr(argument);
    if (rest.size() < 2 || rest[0] != '"')
        return "the argument is not quoted";
    std::string::size_type close = rest.find('"', 1);
    if (close == std::string::npos)
        return "the argument's closing quote is missing";
    if (close + 1 != rest.size())
        return "more than one argument";
    std::string ini = rest.substr(1, close - 1);
    bool fullPath = (ini.size() > 2 && ini[1] == ':' && ini[2] == '\\') || ini.compare(0, 2, "\\\\") == 0;
    if (!fullPath)
        return "the argument " + ini + " is not a full path";
    if (GetFileAttributesA(ini.c_str()) == INVALID_FILE_ATTRIBUTES)
        return "the setup description " + ini + " does not exist";
    if (IniValue(ini, "CEAppManager", "Version").empty())
        return "no Version in [CEAppManager]";
    std::string component = IniValue(ini, "CEAppManager", "Component");
    if (component.empty())
        return "no Component in [CEAppManager]";
    std::string cabFiles = IniValue(ini, component, "CabFiles");
    if (cabFiles.empty())
        return "no CabFiles in [" + component + "]";
    std::string::size_type start = 0;
    for (;;) {
        std::string::size_type comma = cabFiles.find(',', start);
        std::string cabinet = Trim(cabFiles.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (cabinet.empty())
            return "an empty name in CabFiles";
        std::string problem = CheckCabinet(FolderOf(ini) + cabinet);
        if (!problem.empty())
            return problem;
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return "ok";
}

std::string UtcNow()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    char text[64];
    wsprintfA(text, "%04u-%02u-%02uT%02u:%02u:%02u.%03uZ", now.wYear, now.wMonth, now.wDay, now.wHour,
              now.wMinute, now.wSecond, now.wMilliseconds);
    return text;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    std::string started = UtcNow();
    std::string commandLine = GetCommandLineA();
    char self[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(NULL, self, sizeof self);
    std::string selfPath(self, length < sizeof self ? length : 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    std::string show = startup.dwFlags & STARTF_USESHOWWINDOW ? std::to_string(startup.wShowWindow) : "default";

    std::string record = "started: " + started + "\r\ncommand line: " + commandLine + "\r\nshow window: " + show
        + "\r\nverdict: " + Verdict(commandLine, selfPath) + "\r\n";
    std::string recordPath = FolderOf(selfPath) + "standin-record.txt";
    // One write per start, appended, so a second start shows as a second record.
    HANDLE file = CreateFileA(recordPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 2;
    DWORD written = 0;
    BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, NULL);
    CloseHandle(file);
    return ok && written == record.size() ? 0 : 2;
}
