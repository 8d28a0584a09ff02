#include "host/db/engine/EngineInfo.h"

#include <pwd.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "host/db/engine/Cursor.h"

namespace host::engine {

TEngineCounters& EngineCounters()
{
    static TEngineCounters counters;
    return counters;
}

TSysVersion GetSysVersion()
{
    TSysVersion v;
    v.Version = 100;
    v.IntfLevel = 100;
    v.DateVer = "2026-12-08";
    v.TimeVer = "00:00:00";
    v.StoreVersion = sqlite3_libversion();
    return v;
}

std::string GetNetUserName()
{
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name) return pw->pw_name;
    if (const char* u = std::getenv("USER")) return u;
    return {};
}

TSysConfig GetSysConfig()
{
    TSysConfig c;
    // Tables are files that several processes may open at once.
    c.LocalShare = true;
    c.NetShare = true;
    c.NetType = "SQLite";
    c.UserName = GetNetUserName();
    c.LangDriver = "UTF-8 binary";
    return c;
}

TSysInfo GetSysInfo()
{
    TSysInfo i;
    i.BufferSpace = static_cast<int>(TEngineCursor::CacheSize);
    i.HeapSpace = static_cast<int>(sqlite3_memory_used() / 1024);
    i.Drivers = 2; // standard folders and SQL files
    i.Clients = 1;
    i.Sessions = EngineCounters().Sessions;
    i.Databases = EngineCounters().Databases;
    i.Cursors = EngineCounters().Cursors;
    return i;
}

TClientInfo GetClientInfo()
{
    TClientInfo c;
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n > 0) c.Name = std::filesystem::path(std::string(path, n)).filename().string();
    std::error_code ec;
    c.WorkDir = std::filesystem::current_path(ec).string();
    c.Sessions = EngineCounters().Sessions;
    const char* lang = std::getenv("LANG");
    c.Lang = lang ? lang : "C";
    return c;
}

} // namespace host::engine
