// Engine cursors against plain SQLite prepared statements doing the same work,
// on a table of a million rows with a secondary index. Prints each figure next
// to its reference from the same run.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "host/db/engine/Cursor.h"
#include "host/db/engine/Database.h"
#include "host/db/engine/FilterParser.h"
#include "host/db/engine/Sqlite.h"

using namespace host;
using namespace host::engine;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int Rows = 1000000;

double Seconds(const std::function<void()>& F, int Repeat = 3)
{
    double best = 1e9;
    for (int i = 0; i < Repeat; ++i) {
        auto t0 = Clock::now();
        F();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
    }
    return best;
}

void Report(const char* What, double Ours, double Ref, const char* Unit, double Scale, const char* Target)
{
    std::printf("%-38s %10.3f %-3s  ref %10.3f %-3s  ratio %5.2f  %s\n", What, Ours * Scale, Unit, Ref * Scale, Unit,
                Ref > 0 ? Ours / Ref : 0.0, Target);
}

void Populate(const std::string& File)
{
    TSqlConnection conn(File, TOpenMode::ReadWrite, 1000);
    conn.Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
    auto st = conn.Prepare("INSERT INTO DATA(NAME,QTY,PRICE,SINCE,PAID,CITY,CODE) VALUES(?,?,?,?,?,?,?)");
    std::mt19937 rng(42);
    const char* cities[] = {"Paris", "London", "Berlin", "Rome", "Oslo", "Madrid", "Vienna", "Prague"};
    for (int i = 0; i < Rows; ++i) {
        st.BindText(1, "Customer " + std::to_string(rng() % 10000000));
        st.BindInt(2, rng() % 20);
        st.BindFloat(3, (rng() % 100000) / 100.0);
        st.BindFloat(4, 40000 + rng() % 8000);
        st.BindInt(5, rng() % 2);
        st.BindText(6, cities[rng() % 8]);
        st.BindInt(7, rng() % 5000000);
        st.Execute();
        st.Reset();
    }
    conn.Exec("COMMIT");
}

} // namespace

int main()
{
    std::string dir = (std::filesystem::temp_directory_path() / ("kel_bench_db_" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(dir);
    auto db = TEngineDatabase::Open(dir);
    TTableDesc desc;
    desc.Fields = {{"NAME", ftString, 40, false}, {"QTY", ftInteger, 0, false}, {"PRICE", ftFloat, 0, false},
                   {"SINCE", ftDate, 0, false},   {"PAID", ftBoolean, 0, false}, {"CITY", ftString, 20, false},
                   {"CODE", ftInteger, 0, false}};
    desc.Indexes = {{"ByCode", "CODE", "", 0}};
    db->CreateTable("BIG.DB", ttDefault, desc);
    std::string file = db->TableFileName("BIG.DB");
    std::printf("creating %d rows in %s ...\n", Rows, file.c_str());
    Populate(file);

    TSqlConnection ref(file, TOpenMode::ReadOnly, 1000);
    {
        auto plan = ref.Prepare("EXPLAIN QUERY PLAN SELECT \"KEL$RECNO\" FROM DATA ORDER BY CODE, \"KEL$RECNO\"");
        while (plan.Step()) std::printf("plan: %s\n", std::string(plan.ColumnText(3)).c_str());
    }
    auto table = db->OpenTable("BIG.DB");
    std::printf("\n%-38s %14s  %18s\n", "operation", "engine", "plain SQLite");

    // Open ordered by the secondary index and go to the last record.
    std::vector<int64_t> refKeys;
    double refOpen = Seconds([&] {
        refKeys.clear();
        auto st = ref.Prepare("SELECT \"KEL$RECNO\" FROM DATA ORDER BY CODE, \"KEL$RECNO\"");
        while (st.Step()) refKeys.push_back(st.ColumnInt(0));
        auto f = ref.Prepare("SELECT NAME,QTY,PRICE,SINCE,PAID,CITY,CODE FROM DATA WHERE \"KEL$RECNO\"=?");
        f.BindInt(1, refKeys.back());
        f.Step();
    });
    std::unique_ptr<TEngineCursor> cursor;
    double open = Seconds([&] {
        cursor.reset();
        cursor = std::make_unique<TEngineCursor>(table, "ByCode");
        cursor->Last();
        (void)cursor->GetRecord();
    });
    Report("open by index + Last", open, refOpen, "ms", 1e3, "(target: ratio <= 3)");

    // First to Last with Next, each record fetched.
    int64_t sum = 0;
    double next = Seconds([&] {
        cursor->First();
        do sum += cursor->GetRecord()->Values[1].Int;
        while (cursor->Next());
    }, 1);
    double refNext = Seconds([&] {
        for (int64_t id : refKeys) {
            auto f = ref.Prepare("SELECT NAME,QTY,PRICE,SINCE,PAID,CITY,CODE FROM DATA WHERE \"KEL$RECNO\"=?");
            f.BindInt(1, id);
            f.Step();
            sum += f.ColumnInt(1);
        }
    }, 1);
    Report("Next + record by index, per record", next / Rows, refNext / Rows, "us", 1e6, "(target: < 20 us)");

    // The same in physical order, where neighbouring records share pages: the
    // engine's own cost per Next without the random page reads of index order.
    {
        TEngineCursor phys(table, "");
        double nextPhys = Seconds([&] {
            phys.First();
            do sum += phys.GetRecord()->Values[1].Int;
            while (phys.Next());
        }, 1);
        double refPhys = Seconds([&] {
            for (int64_t id = 1; id <= Rows; ++id) {
                auto f = ref.Prepare("SELECT NAME,QTY,PRICE,SINCE,PAID,CITY,CODE FROM DATA WHERE \"KEL$RECNO\"=?");
                f.BindInt(1, id);
                f.Step();
                sum += f.ColumnInt(1);
            }
        }, 1);
        Report("Next + record physical, per record", nextPhys / Rows, refPhys / Rows, "us", 1e6, "(target: < 20 us)");
    }

    // Expression filter refresh.
    auto filter = cursor->AddFilter(1, CompileFilter("[QTY] >= 10 AND [PAID]", table->GetDesc().Fields));
    cursor->ActivateFilter(filter);
    double refresh = Seconds([&] { cursor->Refresh(); });
    int64_t filtered = cursor->GetRecordCount();
    size_t refCount = 0;
    double refWhere = Seconds([&] {
        refCount = 0;
        auto st = ref.Prepare("SELECT \"KEL$RECNO\" FROM DATA WHERE QTY >= 10 AND PAID ORDER BY CODE, \"KEL$RECNO\"");
        while (st.Step()) ++refCount;
    });
    Report("filter refresh [QTY] >= 10 AND [PAID]", refresh, refWhere, "ms", 1e3, "(target: ratio <= 3)");
    if (static_cast<size_t>(filtered) != refCount) std::printf("  MISMATCH: %lld vs %zu rows\n", (long long)filtered, refCount);
    cursor->DropFilter(filter);
    cursor->Refresh();

    // FindKey on random keys.
    std::mt19937 rng(7);
    constexpr int Finds = 2000;
    std::vector<int64_t> probes(Finds);
    for (auto& p : probes) p = rng() % 5000000;
    int hits = 0;
    double find = Seconds([&] {
        for (int64_t p : probes) hits += cursor->FindKey({TValue::OfInt(p)});
    });
    double refFind = Seconds([&] {
        for (int64_t p : probes) {
            auto st = ref.Prepare("SELECT \"KEL$RECNO\" FROM DATA WHERE CODE=? ORDER BY CODE, \"KEL$RECNO\" LIMIT 1");
            st.BindInt(1, p);
            hits += st.Step();
        }
    });
    Report("FindKey, per search", find / Finds, refFind / Finds, "us", 1e6, "");

    // A range of about 1% of the rows, walked First to Last.
    int64_t lo = 2000000, hi = 2050000;
    double range = Seconds([&] {
        cursor->SetRange(TKeyBound{{TValue::OfInt(lo)}}, TKeyBound{{TValue::OfInt(hi)}});
        cursor->First();
        do sum += cursor->GetRecord()->Values[1].Int;
        while (cursor->Next());
    });
    int64_t inRange = cursor->GetRecordCount();
    double refRange = Seconds([&] {
        auto st = ref.Prepare(
            "SELECT NAME,QTY,PRICE,SINCE,PAID,CITY,CODE FROM DATA WHERE CODE BETWEEN ? AND ? ORDER BY CODE, \"KEL$RECNO\"");
        st.BindInt(1, lo);
        st.BindInt(2, hi);
        while (st.Step()) sum += st.ColumnInt(1);
    });
    Report("SetRange + First..Last (~1%)", range, refRange, "ms", 1e3, "");
    std::printf("  (%lld records in range)\n", (long long)inRange);
    cursor->CancelRange();

    // Random MoveBy.
    constexpr int Moves = 10000;
    std::vector<int> steps(Moves);
    for (auto& s : steps) s = static_cast<int>(rng() % 2001) - 1000;
    cursor->SetSeqNo(Rows / 2);
    double moves = Seconds([&] {
        for (int s : steps) {
            cursor->MoveBy(s);
            sum += cursor->GetRecord()->Values[1].Int;
        }
    });
    double refMoves = Seconds([&] {
        int64_t pos = Rows / 2;
        for (int s : steps) {
            pos = std::clamp<int64_t>(pos + s, 0, Rows - 1);
            auto f = ref.Prepare("SELECT NAME,QTY,PRICE,SINCE,PAID,CITY,CODE FROM DATA WHERE \"KEL$RECNO\"=?");
            f.BindInt(1, refKeys[pos]);
            f.Step();
            sum += f.ColumnInt(1);
        }
    });
    Report("10,000 random MoveBy + record", moves, refMoves, "ms", 1e3, "");

    // A query over the table: open a SELECT ... WHERE ... ORDER BY, go to its last record.
    {
        const char* sql = "SELECT NAME, QTY, CODE FROM BIG WHERE QTY >= ? ORDER BY CODE";
        int64_t ours = 0, theirs = 0;
        double query = Seconds([&] {
            auto view = db->OpenQuery(sql, {TValue::OfInt(10)}, false);
            TEngineCursor q(view);
            q.Last();
            ours = q.GetRecordCount();
            sum += q.GetRecord()->Values[1].Int;
        });
        double refQuery = Seconds([&] {
            auto st = ref.Prepare("SELECT NAME, QTY, CODE FROM DATA WHERE QTY >= ? ORDER BY CODE");
            st.BindInt(1, 10);
            theirs = 0;
            while (st.Step()) ++theirs;
            sum += st.ColumnInt(1);
        });
        Report("query WHERE .. ORDER BY open + Last", query, refQuery, "ms", 1e3, "(target: ratio <= 3)");
        if (ours != theirs) std::printf("  MISMATCH: %lld vs %lld rows\n", (long long)ours, (long long)theirs);
    }

    struct rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    std::printf("%-38s %10.1f MB   (target: < 64 MB; includes the reference's own keyset)\n", "peak memory (max RSS)",
                ru.ru_maxrss / 1024.0);
    std::printf("(checksum %lld, hits %d)\n", (long long)sum, hits);
    cursor.reset();
    table.reset();
    db.reset();
    std::filesystem::remove_all(dir);
    return 0;
}
