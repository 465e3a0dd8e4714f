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

struct Entry {
    double energy = 0.0;
    CDeferredOutput traces;
};

struct Memo {
    std::mutex mutex;
    std::map<Key, Entry> rooms;
};

Memo* g_pActive = nullptr;

} // namespace

CRoomPassMemo::CRoomPassMemo() {
    if (g_pActive || IsReferenceCalculation()) return;
    g_pActive = new Memo();
    m_bOwner = true;
}

CRoomPassMemo::~CRoomPassMemo() {
    if (!m_bOwner) return;
    delete g_pActive;
    g_pActive = nullptr;
}

double GetRoomLightingEnergyOnce(const CLENIRoom& room, const CLENIProject& project, unsigned timeStep) {
    Memo* memo = g_pActive;
    if (!memo) return GetLightingEnergy(room, project, timeStep);

    const Key key(&room, &project, timeStep, IsCalcLoggerOpen(), IsCalcLogQuiet(), IsCalcLogDiscarding());
    Entry entry;
    bool found = false;
    {
        std::lock_guard<std::mutex> lock(memo->mutex);
        auto it = memo->rooms.find(key);
        if (it != memo->rooms.end()) {
            entry = it->second;
            found = true;
        }
    }
    if (!found) {
        {
            CDeferredOutput::Scope capture(entry.traces);
            entry.energy = GetLightingEnergy(room, project, timeStep);
        }
        std::lock_guard<std::mutex> lock(memo->mutex);
        memo->rooms.emplace(key, entry);
    }
    entry.traces.Replay();
    return entry.energy;
}
