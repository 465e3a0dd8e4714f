#include "calc/RoomPassMemo.h"

#include "base/DeferredOutput.h"
#include "calc/CalcLog.h"
#include "calc/CalcMode.h"
#include "calc/EnergyCalc.h"

#include <map>
#include <mutex>
#include <tuple>

namespace {

// What decides a room's traces besides the model: whether a log is open, quiet or discarding.
using Key = std::tuple<const CLENIRoom*, const CLENIProject*, unsigned, bool, bool, bool>;
using QuietKey = std::tuple<const CLENIRoom*, const CLENIProject*, unsigned>;

struct Entry {
    double energy = 0.0;
    CDeferredOutput traces;
};

struct Memo {
    std::mutex mutex;
    std::map<Key, Entry> pass;       // this top-level calculation's rooms
    std::map<QuietKey, Entry> quiet; // in a report scope: the rooms as a quiet calculation has them
    bool report = false;             // a report scope owns the memo
    bool inPass = false;             // a top-level calculation runs within the report scope
};

Memo* g_pActive = nullptr;

// A quiet calculation with no log open leaves only the traces that are not log lines.
bool IsQuietRequest() {
    return IsCalcLogQuiet() || !IsCalcLoggerOpen();
}

} // namespace

CRoomPassMemo::CRoomPassMemo() {
    if (IsReferenceCalculation()) return;
    if (!g_pActive) {
        g_pActive = new Memo();
        m_bOwner = true;
    } else if (g_pActive->report && !g_pActive->inPass) {
        g_pActive->inPass = true;
        m_bEndsPass = true;
    }
}

CRoomPassMemo::~CRoomPassMemo() {
    if (m_bEndsPass) {
        std::lock_guard<std::mutex> lock(g_pActive->mutex);
        g_pActive->pass.clear();
        g_pActive->inPass = false;
    }
    if (!m_bOwner) return;
    delete g_pActive;
    g_pActive = nullptr;
}

CReportRoomMemo::CReportRoomMemo() {
    if (g_pActive || IsReferenceCalculation()) return;
    g_pActive = new Memo();
    g_pActive->report = true;
    m_bOwner = true;
}

CReportRoomMemo::~CReportRoomMemo() {
    if (!m_bOwner) return;
    delete g_pActive;
    g_pActive = nullptr;
}

double GetRoomLightingEnergyOnce(const CLENIRoom& room, const CLENIProject& project, unsigned timeStep) {
    Memo* memo = g_pActive;
    if (!memo) return GetLightingEnergy(room, project, timeStep);

    const QuietKey quietKey(&room, &project, timeStep);
    const bool quietRequest = memo->report && IsQuietRequest();
    const Key key(&room, &project, timeStep, IsCalcLoggerOpen(), IsCalcLogQuiet(), IsCalcLogDiscarding());
    Entry entry;
    bool found = false;
    {
        std::lock_guard<std::mutex> lock(memo->mutex);
        if (quietRequest) {
            auto it = memo->quiet.find(quietKey);
            found = it != memo->quiet.end();
            if (found) entry = it->second;
        } else {
            auto it = memo->pass.find(key);
            found = it != memo->pass.end();
            if (found) entry = it->second;
        }
    }
    if (!found) {
        const unsigned tooLong = GetCalcLogTooLongCount();
        {
            CDeferredOutput::Scope capture(entry.traces);
            entry.energy = GetLightingEnergy(room, project, timeStep);
        }
        std::lock_guard<std::mutex> lock(memo->mutex);
        if (quietRequest) {
            memo->quiet.emplace(quietKey, entry);
        } else {
            if (memo->report && GetCalcLogTooLongCount() == tooLong) {
                // Without its log lines (and with no "too long" error among its messages) this is
                // what a quiet calculation of the room leaves.
                Entry quiet;
                quiet.energy = entry.energy;
                quiet.traces = entry.traces.Without(GetCalcLogTextReplayer());
                memo->quiet.emplace(quietKey, std::move(quiet));
            }
            memo->pass.emplace(key, entry);
        }
    }
    entry.traces.Replay();
    return entry.energy;
}
