#pragma once
// What the engine reports about itself: version, configuration, resource use
// and the client, for the information calls and diagnostic reports.
#include <cstdint>
#include <string>

namespace host::engine {

struct TSysVersion {
    int Version = 0;        // engine version times 100
    int IntfLevel = 0;      // client interface level
    std::string DateVer;    // build date, "yyyy-mm-dd"
    std::string TimeVer;    // build time, "hh:nn:ss"
    std::string StoreVersion; // version of the underlying SQLite
};

struct TSysConfig {
    bool LocalShare = false;
    int NetProtocol = 0;
    bool NetShare = false;
    std::string NetType;
    std::string UserName;
    std::string IniFile;
    std::string LangDriver;
};

struct TSysInfo {
    int BufferSpace = 0; // kilobytes of record cache per cursor
    int HeapSpace = 0;   // kilobytes of memory in use by the store
    int Drivers = 0;
    int Clients = 0;
    int Sessions = 0;
    int Databases = 0;
    int Cursors = 0;
};

struct TClientInfo {
    std::string Name;
    int Sessions = 0;
    std::string WorkDir;
    std::string Lang;
};

TSysVersion GetSysVersion();
TSysConfig GetSysConfig();
TSysInfo GetSysInfo();
TClientInfo GetClientInfo();
// The user's login name; empty when the system does not know it.
std::string GetNetUserName();

// Live object counts the information calls report; kept by the engine's
// databases and cursors, and by the framework for its sessions.
struct TEngineCounters {
    int Databases = 0;
    int Cursors = 0;
    int Sessions = 0;
};
TEngineCounters& EngineCounters();

} // namespace host::engine
