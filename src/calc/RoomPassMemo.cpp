#include "calc/RoomPassMemo.h"

#include "base/CalcMode.h"
#include "base/DeferredOutput.h"
#include "base/OrderedParallel.h"
#include "calc/CalcLog.h"
#include "calc/EnergyCalc.h"
#include "calc/RoomContentKey.h"
#include "model/LENIProject.h"
#include "products/LumSysDataBase.h"
#include "tables/FdssnaTables.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

// What decides a room's traces besides the model: whether a log is open, quiet or discarding.
using Key = std::tuple<const CLENIRoom*, const CLENIProject*, unsigned, bool, bool, bool>;
using QuietKey = std::tuple<const CLENIRoom*, const CLENIProject*, unsigned>;

struct Entry {
    double energy = 0.0;
    CDeferredOutput traces;
};

// ---- Kept across calculations, by content (CRoomResultMemo) ----

// A room's traces depend on the log besides the model: written (full), counted only for their
// errors (discard) or not produced at all (quiet, or no log open).
enum SlotMode { kFull = 0, kDiscard = 1, kQuiet = 2 };

struct Slot {
    double energy = 0.0;
    CDeferredOutput traces;
    size_t bytes = 0;
};

// One room content: its results by time step and log state.
struct Record {
    // The year and the months at hand, any other step (none the program asks for) in the map.
    static constexpr unsigned kSteps = 13;
    std::shared_ptr<const Slot> steps[kSteps][3];
    std::map<std::pair<unsigned, int>, std::shared_ptr<const Slot>> others;
    std::shared_ptr<const Slot>* Find(unsigned timeStep, SlotMode mode) {
        if (timeStep < kSteps) return &steps[timeStep][mode];
        auto it = others.find({timeStep, mode});
        return it == others.end() ? nullptr : &it->second;
    }
    void Put(unsigned timeStep, SlotMode mode, std::shared_ptr<const Slot> slot) {
        if (timeStep < kSteps)
            steps[timeStep][mode] = std::move(slot);
        else
            others[{timeStep, mode}] = std::move(slot);
    }
    std::uint64_t lastUse = 0;
    size_t bytes = 0;
    bool kept = true; // false once the store has let go of it
};

// What a room's content is made of: the room, and the products its lists find (the project's,
// then the global ones).
struct Revisions {
    std::uint64_t room = 0, products = 0, globalProducts = 0;
    bool operator==(const Revisions& o) const {
        return room == o.room && products == o.products && globalProducts == o.globalProducts;
    }
};

Revisions RevisionsOf(const CLENIRoom& room, const CLENIProject& project) {
    return {room.GetRevision(), project.GetProducts().GetRevision(), CLumSysDataBase::Global().GetRevision()};
}

class SessionStore {
  public:
    explicit SessionStore(size_t budget) : m_Budget(budget) {}

    // A top-level calculation starts: the rooms it finds count as used now. Results worked out
    // with other daylight tables are of no use any more.
    void BeginCalculation() {
        std::lock_guard<std::mutex> lock(m_Mutex);
        ++m_Generation;
        const CFdssnaTables& tables = GetFdssnaTables();
        if (!m_bHasTables || std::memcmp(tables.m_dTable, m_Tables.m_dTable, sizeof tables.m_dTable) != 0 ||
            std::memcmp(tables.m_bEstimate, m_Tables.m_bEstimate, sizeof tables.m_bEstimate) != 0) {
            ClearLocked();
            m_Tables = tables;
            m_bHasTables = true;
        }
    }

    // The record of the room's content as it was when last acquired for this room object, when the
    // room still has that content and context. The room and the products unchanged since the room
    // was last found (their revisions) have that content; otherwise it is checked in place against
    // the kept key, without building a key or looking one up.
    std::shared_ptr<Record> FindKnown(const CLENIRoom& room, const CLENIProject& project,
                                      const std::string& context) {
        const Revisions now = RevisionsOf(room, project);
        std::shared_ptr<Record> record;
        const std::string* key = nullptr;
        size_t contentSize = 0;
        bool unchanged = false;
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            auto it = m_Rooms.find(&room);
            if (it == m_Rooms.end() || it->second.project != &project) return nullptr;
            if (!it->second.record->kept) {
                m_Rooms.erase(it);
                return nullptr;
            }
            record = it->second.record;
            key = it->second.key;
            contentSize = it->second.contentSize;
            unchanged = it->second.revisions == now;
            // Used now, so the key stays while it is read below.
            record->lastUse = m_Generation;
        }
        if (key->size() != contentSize + context.size() ||
            key->compare(contentSize, std::string::npos, context) != 0)
            return nullptr;
        if (unchanged) return record;
        if (!IsRoomContent(key->data(), contentSize, room, project)) return nullptr;
        std::lock_guard<std::mutex> lock(m_Mutex);
        auto it = m_Rooms.find(&room);
        if (it != m_Rooms.end() && it->second.record == record) it->second.revisions = now;
        return record;
    }

    // The record of the key (content then context, contentSize bytes of content), made when there is
    // none; kept as the room's for FindKnown.
    std::shared_ptr<Record> Acquire(std::string key, const CLENIRoom& room, const CLENIProject& project,
                                    size_t contentSize, const Revisions& revisions) {
        std::lock_guard<std::mutex> lock(m_Mutex);
        auto it = m_Records.find(key);
        if (it == m_Records.end()) {
            const size_t keyBytes = key.capacity() + sizeof(Record) + 64;
            if (m_Bytes + keyBytes > m_Budget) EvictLocked(keyBytes);
            if (m_Bytes + keyBytes > m_Budget) {
                // No room left: worked out as if there were no store, and not kept.
                auto detached = std::make_shared<Record>();
                detached->kept = false;
                return detached;
            }
            it = m_Records.emplace(std::move(key), std::make_shared<Record>()).first;
            it->second->bytes = keyBytes;
            m_Bytes += keyBytes;
        }
        it->second->lastUse = m_Generation;
        if (m_Rooms.size() > 2 * m_Records.size() + 4096) ForgetGoneRoomsLocked();
        m_Rooms[&room] = KnownRoom{&project, &it->first, contentSize, revisions, it->second};
        return it->second;
    }

    std::shared_ptr<const Slot> Find(Record& record, unsigned timeStep, SlotMode mode) {
        std::lock_guard<std::mutex> lock(m_Mutex);
        const std::shared_ptr<const Slot>* slot = record.Find(timeStep, mode);
        if (!slot || !*slot) return nullptr;
        ++m_Hits;
        return *slot;
    }

    // Find for each record given (a null one finds nothing), under one lock.
    void FindAll(const std::vector<std::shared_ptr<Record>>& records, unsigned timeStep, SlotMode mode,
                 std::vector<std::shared_ptr<const Slot>>& slots) {
        std::lock_guard<std::mutex> lock(m_Mutex);
        for (size_t i = 0; i < records.size(); ++i) {
            if (!records[i]) continue;
            const std::shared_ptr<const Slot>* slot = records[i]->Find(timeStep, mode);
            if (!slot || !*slot) continue;
            ++m_Hits;
            slots[i] = *slot;
        }
    }

    // Keeps what was worked out in that mode, and what it tells of the other modes: without its
    // log lines it is what a discarding log leaves, and, when no line was too long (only a log
    // that formats its lines reports those), what a quiet calculation leaves.
    void Store(Record& record, unsigned timeStep, SlotMode mode, const Slot& made, bool noLineTooLong) {
        std::vector<std::pair<SlotMode, std::shared_ptr<Slot>>> adding;
        auto add = [&](SlotMode m, CDeferredOutput traces) {
            auto slot = std::make_shared<Slot>();
            slot->energy = made.energy;
            slot->traces = std::move(traces);
            slot->bytes = sizeof(Slot) + 64 + slot->traces.GetByteSize();
            adding.emplace_back(m, std::move(slot));
        };
        add(mode, made.traces);
        if (mode == kFull) {
            CDeferredOutput withoutLines = made.traces.Without(GetCalcLogTextReplayer());
            if (noLineTooLong) add(kQuiet, withoutLines);
            add(kDiscard, std::move(withoutLines));
        } else if (mode == kDiscard && noLineTooLong) {
            add(kQuiet, made.traces);
        }

        std::lock_guard<std::mutex> lock(m_Mutex);
        ++m_Misses;
        if (!record.kept) return; // let go of meanwhile
        for (auto& [m, slot] : adding) {
            const std::shared_ptr<const Slot>* kept = record.Find(timeStep, m);
            if (kept && *kept) continue;
            if (m_Bytes + slot->bytes > m_Budget) EvictLocked(slot->bytes);
            if (m_Bytes + slot->bytes > m_Budget) return; // this calculation alone fills the budget
            record.bytes += slot->bytes;
            m_Bytes += slot->bytes;
            record.Put(timeStep, m, std::move(slot));
        }
    }

    // What a floor's rooms give for one time step and log state, in the order of its room list.
    struct StepView {
        std::vector<std::shared_ptr<const Slot>> slots;
        std::vector<double> energies;
        std::vector<size_t> withTraces; // the rooms whose slot leaves traces
    };

    // A floor's room list as it was when last worked out in full: each room's revisions and
    // record, with the context the rooms had (they all had the same floor name), and the views
    // made of it. Kept by the list's first room.
    struct Group {
        const CLENIProject* project = nullptr;
        std::string context;
        std::vector<Revisions> revisions;
        std::vector<std::shared_ptr<Record>> records;
        std::map<std::pair<unsigned, int>, std::shared_ptr<const StepView>> views;
    };

    // Whether the floor's list of count rooms starting at begin is known with every room as it
    // was when the list was kept (PutGroup), in context; then records are its rooms' records.
    bool CheckGroup(const CLENIRoom* begin, size_t count, const CLENIProject& project,
                    const std::string& context, std::vector<std::shared_ptr<Record>>& records) {
        const Revisions products = RevisionsOf(*begin, project);
        std::lock_guard<std::mutex> lock(m_Mutex);
        auto it = m_Groups.find(begin);
        if (it == m_Groups.end()) return false;
        const Group& group = it->second;
        if (group.project != &project || group.records.size() != count || group.context != context)
            return false;
        for (size_t i = 0; i < count; ++i) {
            const Revisions& kept = group.revisions[i];
            if (kept.room != begin[i].GetRevision() || kept.products != products.products ||
                kept.globalProducts != products.globalProducts || !group.records[i]->kept)
                return false;
        }
        for (const std::shared_ptr<Record>& record : group.records)
            record->lastUse = m_Generation;
        records = group.records;
        return true;
    }

    // For a list checked in this calculation (CheckGroup): what its rooms give for the step and
    // log state, when every room's record holds it; else null.
    std::shared_ptr<const StepView> GroupView(const CLENIRoom* begin, unsigned timeStep, SlotMode mode) {
        std::lock_guard<std::mutex> lock(m_Mutex);
        auto it = m_Groups.find(begin);
        if (it == m_Groups.end()) return nullptr;
        Group& group = it->second;
        std::shared_ptr<const StepView>& view = group.views[{timeStep, int(mode)}];
        if (!view) {
            auto made = std::make_shared<StepView>();
            for (size_t i = 0; i < group.records.size(); ++i) {
                const std::shared_ptr<const Slot>* slot = group.records[i]->Find(timeStep, mode);
                if (!slot || !*slot) return nullptr;
                made->slots.push_back(*slot);
                made->energies.push_back((*slot)->energy);
                if (!(*slot)->traces.IsEmpty()) made->withTraces.push_back(i);
            }
            view = std::move(made);
        }
        m_Hits += group.records.size();
        return view;
    }

    void PutGroup(const CLENIRoom* begin, const CLENIProject& project, std::string context,
                  std::vector<std::shared_ptr<Record>> records) {
        const Revisions products = RevisionsOf(*begin, project);
        Group group;
        group.project = &project;
        group.context = std::move(context);
        group.revisions.reserve(records.size());
        for (size_t i = 0; i < records.size(); ++i)
            group.revisions.push_back({begin[i].GetRevision(), products.products, products.globalProducts});
        group.records = std::move(records);
        std::lock_guard<std::mutex> lock(m_Mutex);
        // Lists of floors gone or moved stay until there are many more lists than rooms kept.
        if (m_Groups.size() > m_Records.size() + 1024) m_Groups.clear();
        m_Groups[begin] = std::move(group);
    }

    CRoomResultMemo::Stats GetStats() {
        std::lock_guard<std::mutex> lock(m_Mutex);
        CRoomResultMemo::Stats stats;
        stats.rooms = m_Records.size();
        stats.bytes = m_Bytes;
        stats.hits = m_Hits;
        stats.misses = m_Misses;
        return stats;
    }

  private:
    void ClearLocked() {
        for (auto& entry : m_Records)
            entry.second->kept = false;
        m_Records.clear();
        m_Rooms.clear();
        m_Groups.clear();
        m_Bytes = 0;
    }

    void ForgetGoneRoomsLocked() {
        for (auto it = m_Rooms.begin(); it != m_Rooms.end();)
            it = it->second.record->kept ? std::next(it) : m_Rooms.erase(it);
    }

    // Lets go of the rooms least recently used, not those of the running calculation, until
    // a quarter of the budget is free besides what is to be added.
    void EvictLocked(size_t adding) {
        std::vector<std::pair<std::uint64_t, const std::string*>> old;
        for (const auto& [key, record] : m_Records)
            if (record->lastUse < m_Generation) old.emplace_back(record->lastUse, &key);
        std::sort(old.begin(), old.end());
        const size_t target = m_Budget - std::min(m_Budget, m_Budget / 4 + adding);
        for (const auto& [use, key] : old) {
            if (m_Bytes <= target) break;
            auto it = m_Records.find(*key);
            m_Bytes -= it->second->bytes;
            it->second->kept = false;
            m_Records.erase(it);
        }
    }

    std::mutex m_Mutex;
    std::unordered_map<std::string, std::shared_ptr<Record>> m_Records;
    // Per room object, the key it was last found by (a key of m_Records while its record is kept).
    struct KnownRoom {
        const CLENIProject* project;
        const std::string* key;
        size_t contentSize;
        Revisions revisions; // of when the content was last found to be the key's
        std::shared_ptr<Record> record;
    };
    std::unordered_map<const CLENIRoom*, KnownRoom> m_Rooms;
    std::unordered_map<const CLENIRoom*, Group> m_Groups;
    size_t m_Budget;
    size_t m_Bytes = 0;
    size_t m_Hits = 0, m_Misses = 0;
    std::uint64_t m_Generation = 0;
    CFdssnaTables m_Tables;
    bool m_bHasTables = false;
};

SessionStore* g_pSession = nullptr;

struct Memo {
    std::mutex mutex;
    // With a session store: the record of each room met in this top-level calculation, and the
    // context of each floor, worked out once (the model holds still meanwhile).
    SessionStore* session = nullptr;
    std::unordered_map<const CLENIRoom*, std::pair<const CLENIProject*, std::shared_ptr<Record>>> records;
    std::map<std::tuple<const CLENIProject*, int, int>, std::string> contexts;
    // For FloorsOfLocked: the floors of floorsProject by name, and its room lists by address.
    struct RoomList {
        const CLENIRoom* begin;
        const CLENIRoom* end;
        int floor;
    };
    const CLENIProject* floorsProject = nullptr;
    std::unordered_map<std::string, int> floorByName;
    std::vector<RoomList> roomLists;
    // Room lists found whole in the session's store, their rooms' records put in records.
    std::unordered_set<const CLENIRoom*> groupsFound;
    std::map<Key, Entry> pass;       // this top-level calculation's rooms
    std::map<QuietKey, Entry> quiet; // in a report scope: the rooms as a quiet calculation has them
    std::map<std::tuple<const CLENIFloor*, const CLumSysDataBase*, int>, double> floorParasitic;
    bool report = false; // a report scope owns the memo
    bool inPass = false; // a top-level calculation runs within the report scope
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
        if (g_pSession) {
            g_pSession->BeginCalculation();
            g_pActive->session = g_pSession;
        }
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

CRoomResultMemo::CRoomResultMemo(size_t budgetBytes) {
    if (g_pSession) return;
    g_pSession = new SessionStore(budgetBytes);
    m_bOwner = true;
}

CRoomResultMemo::~CRoomResultMemo() {
    if (!m_bOwner) return;
    // A calculation still running keeps its store through its scope.
    if (g_pActive && g_pActive->session == g_pSession) g_pActive->session = nullptr;
    delete g_pSession;
    g_pSession = nullptr;
}

CRoomResultMemo::Stats CRoomResultMemo::GetActiveStats() {
    return g_pSession ? g_pSession->GetStats() : Stats();
}

namespace {

// The floor the room's floor name finds and the one holding the room, as GetFloorIndexByName and
// GetFloorIndexHoldingRoom give them, found once per name and per room list in the calculation
// rather than by going through the floors for each room. Called with memo.mutex held.
void EnsureFloorsLocked(Memo& memo, const CLENIProject& project) {
    if (memo.floorsProject != &project) {
        memo.floorsProject = &project;
        memo.floorByName.clear();
        memo.roomLists.clear();
        memo.groupsFound.clear();
        const std::vector<CLENIFloor>& floors = project.GetFloors();
        for (size_t i = 0; i < floors.size(); ++i) {
            const std::vector<CLENIRoom>& rooms = floors[i].GetRooms();
            if (!rooms.empty()) memo.roomLists.push_back({rooms.data(), rooms.data() + rooms.size(), int(i)});
        }
        std::sort(memo.roomLists.begin(), memo.roomLists.end(),
                  [](const Memo::RoomList& a, const Memo::RoomList& b) { return a.begin < b.begin; });
    }
}

// The room list holding the room, or null.
const Memo::RoomList* RoomListOfLocked(const Memo& memo, const CLENIRoom* room) {
    // The first list starting after the room, then the one before it.
    auto after =
        std::upper_bound(memo.roomLists.begin(), memo.roomLists.end(), room,
                         [](const CLENIRoom* r, const Memo::RoomList& list) { return r < list.begin; });
    if (after != memo.roomLists.begin() && room < std::prev(after)->end) return &*std::prev(after);
    return nullptr;
}

// The context of rooms with that floor name on that floor, worked out once per calculation.
const std::string& ContextLocked(Memo& memo, const CLENIProject& project, int byName, int holding) {
    const auto floorKey = std::make_tuple(&project, byName, holding);
    auto it = memo.contexts.find(floorKey);
    if (it == memo.contexts.end())
        it = memo.contexts.emplace(floorKey, GetRoomCalcContext(project, byName, holding)).first;
    return it->second;
}

int FloorByNameLocked(Memo& memo, const CLENIProject& project, const std::string& name) {
    auto named = memo.floorByName.find(name);
    if (named == memo.floorByName.end())
        named = memo.floorByName.emplace(name, project.GetFloorIndexByName(name)).first;
    return named->second;
}

std::pair<int, int> FloorsOfLocked(Memo& memo, const CLENIRoom& room, const CLENIProject& project) {
    EnsureFloorsLocked(memo, project);
    const Memo::RoomList* list = RoomListOfLocked(memo, &room);
    return {FloorByNameLocked(memo, project, room.GetFloorName()), list ? list->floor : -1};
}

std::shared_ptr<Record> RecordOf(Memo& memo, const CLENIRoom& room, const CLENIProject& project) {
    std::string context;
    {
        std::lock_guard<std::mutex> lock(memo.mutex);
        auto found = memo.records.find(&room);
        if (found != memo.records.end() && found->second.first == &project) return found->second.second;
        const auto [byName, holding] = FloorsOfLocked(memo, room, project);
        context = ContextLocked(memo, project, byName, holding);
    }
    std::shared_ptr<Record> record = memo.session->FindKnown(room, project, context);
    if (!record) {
        const Revisions revisions = RevisionsOf(room, project);
        std::string key = GetRoomContent(room, project);
        const size_t contentSize = key.size();
        key += context;
        record = memo.session->Acquire(std::move(key), room, project, contentSize, revisions);
    }
    std::lock_guard<std::mutex> lock(memo.mutex);
    memo.records[&room] = std::make_pair(&project, record);
    return record;
}

SlotMode CurrentSlotMode() {
    return IsQuietRequest() ? kQuiet : IsCalcLogDiscarding() ? kDiscard : kFull;
}

// The room's result in that mode: kept already, or worked out now (with its traces captured, not
// carried out) and kept.
std::shared_ptr<const Slot> SlotFromSession(Memo& memo, const CLENIRoom& room, const CLENIProject& project,
                                            unsigned timeStep, SlotMode mode) {
    SessionStore& session = *memo.session;
    const std::shared_ptr<Record> record = RecordOf(memo, room, project);
    std::shared_ptr<const Slot> slot = session.Find(*record, timeStep, mode);
    if (slot) return slot;
    auto made = std::make_shared<Slot>();
    const unsigned tooLong = GetCalcLogTooLongCount();
    {
        CDeferredOutput::Scope capture(made->traces);
        made->energy = GetLightingEnergy(room, project, timeStep);
    }
    session.Store(*record, timeStep, mode, *made, GetCalcLogTooLongCount() == tooLong);
    return made;
}

// A kept log refers to the slot's lines rather than copying them.
void ReplaySlot(const std::shared_ptr<const Slot>& slot) {
    if (!IsCalcLogKept()) {
        slot->traces.ReplayCopy();
        return;
    }
    slot->traces.ReplayCopy(GetCalcLogTextReplayer(),
                            [&](const std::string& text) { WriteCalcLogShared(slot, text); });
}

double FromSession(Memo& memo, const CLENIRoom& room, const CLENIProject& project, unsigned timeStep) {
    const std::shared_ptr<const Slot> slot =
        SlotFromSession(memo, room, project, timeStep, CurrentSlotMode());
    ReplaySlot(slot);
    return slot->energy;
}

} // namespace

namespace {

// Without a session store: the room's entry of this pass (or, in a report scope, of a quiet
// calculation), found or worked out now with its traces captured, not carried out.
const Entry& EntryOfPass(Memo* memo, const CLENIRoom& room, const CLENIProject& project, unsigned timeStep) {
    const QuietKey quietKey(&room, &project, timeStep);
    const bool quietRequest = memo->report && IsQuietRequest();
    const Key key(&room, &project, timeStep, IsCalcLoggerOpen(), IsCalcLogQuiet(), IsCalcLogDiscarding());
    // Entries stay where they are until the pass or the report ends (after all its rooms): what
    // is found is replayed from its place, never copied.
    const Entry* stored = nullptr;
    {
        std::lock_guard<std::mutex> lock(memo->mutex);
        if (quietRequest) {
            auto it = memo->quiet.find(quietKey);
            if (it != memo->quiet.end()) stored = &it->second;
        } else {
            auto it = memo->pass.find(key);
            if (it != memo->pass.end()) stored = &it->second;
        }
    }
    if (!stored) {
        Entry entry;
        const unsigned tooLong = GetCalcLogTooLongCount();
        {
            CDeferredOutput::Scope capture(entry.traces);
            entry.energy = GetLightingEnergy(room, project, timeStep);
        }
        std::lock_guard<std::mutex> lock(memo->mutex);
        if (quietRequest) {
            stored = &memo->quiet.emplace(quietKey, std::move(entry)).first->second;
        } else {
            if (memo->report && GetCalcLogTooLongCount() == tooLong) {
                // Without its log lines (and with no "too long" error among its messages) this is
                // what a quiet calculation of the room leaves.
                Entry quiet;
                quiet.energy = entry.energy;
                quiet.traces = entry.traces.Without(GetCalcLogTextReplayer());
                memo->quiet.emplace(quietKey, std::move(quiet));
            }
            stored = &memo->pass.emplace(key, std::move(entry)).first->second;
        }
    }
    return *stored;
}

} // namespace

double GetRoomLightingEnergyOnce(const CLENIRoom& room, const CLENIProject& project, unsigned timeStep) {
    Memo* memo = g_pActive;
    if (!memo) return GetLightingEnergy(room, project, timeStep);
    if (memo->session && !memo->report) return FromSession(*memo, room, project, timeStep);
    const Entry& entry = EntryOfPass(memo, room, project, timeStep);
    entry.traces.ReplayCopy();
    return entry.energy;
}

void GetRoomsLightingEnergyOnce(const std::vector<const CLENIRoom*>& rooms, const CLENIProject& project,
                                unsigned timeStep, double* energies) {
    Memo* memo = g_pActive;
    if (!memo) {
        RunInOrder(rooms.size(),
                   [&](size_t i) { energies[i] = GetRoomLightingEnergyOnce(*rooms[i], project, timeStep); });
        return;
    }
    if (!memo->session || memo->report) {
        // Side by side, each room's entry is found or worked out; then the traces are carried
        // out once, in list order, by this thread, straight from where they are kept (carried
        // out within each piece, they would be copied into the piece's capture first).
        std::vector<const Entry*> entries(rooms.size());
        RunInOrder(rooms.size(),
                   [&](size_t i) { entries[i] = &EntryOfPass(memo, *rooms[i], project, timeStep); });
        for (size_t i = 0; i < rooms.size(); ++i) {
            entries[i]->traces.ReplayCopy();
            energies[i] = entries[i]->energy;
        }
        return;
    }
    // Side by side, each room's result is found or worked out, and its traces stay where they are
    // kept; then they are carried out once, in list order, by this thread. (Carried out within each
    // piece, a known room's traces would be copied into the piece's capture first.)
    const SlotMode mode = CurrentSlotMode();
    // Whole floors (a floor's room list, in its order) whose rooms are all as they were are found
    // at once, checked once in the calculation; the rooms of the others one by one, and those
    // floors kept for the next time.
    struct Run {
        size_t first, count;
        bool checked;        // found as it was, in this calculation
        std::string context; // the rooms', when not checked; empty: their floor names differ
        std::shared_ptr<const SessionStore::StepView> view;
    };
    std::vector<Run> runs;
    {
        std::lock_guard<std::mutex> lock(memo->mutex);
        EnsureFloorsLocked(*memo, project);
        for (size_t i = 0; i < rooms.size();) {
            const Memo::RoomList* list = RoomListOfLocked(*memo, rooms[i]);
            const size_t count = list ? static_cast<size_t>(list->end - list->begin) : 0;
            bool whole = list && rooms[i] == list->begin && i + count <= rooms.size();
            for (size_t k = 1; k < count && whole; ++k)
                whole = rooms[i + k] == list->begin + k;
            if (!whole) {
                ++i;
                continue;
            }
            Run run{i, count, memo->groupsFound.count(rooms[i]) > 0, std::string(), nullptr};
            bool oneName = true;
            for (size_t k = 1; k < count && oneName && !run.checked; ++k)
                oneName = rooms[i + k]->GetFloorName() == rooms[i]->GetFloorName();
            if (!run.checked && oneName)
                run.context = ContextLocked(
                    *memo, project, FloorByNameLocked(*memo, project, rooms[i]->GetFloorName()), list->floor);
            runs.push_back(std::move(run));
            i += count;
        }
    }
    for (Run& run : runs) {
        if (!run.checked && !run.context.empty()) {
            std::vector<std::shared_ptr<Record>> kept;
            if (memo->session->CheckGroup(rooms[run.first], run.count, project, run.context, kept)) {
                // The records are the calculation's answer for these rooms from now on.
                std::lock_guard<std::mutex> lock(memo->mutex);
                memo->groupsFound.insert(rooms[run.first]);
                for (size_t k = 0; k < run.count; ++k)
                    memo->records.insert_or_assign(rooms[run.first + k], std::make_pair(&project, kept[k]));
                run.checked = true;
            }
        }
        if (run.checked) run.view = memo->session->GroupView(rooms[run.first], timeStep, mode);
    }
    // The other rooms, those met before in this calculation looked up at once, under one lock.
    std::vector<size_t> missing;
    size_t next = 0;
    for (const Run& run : runs) {
        if (!run.view) continue;
        for (; next < run.first; ++next)
            missing.push_back(next);
        next = run.first + run.count;
    }
    for (; next < rooms.size(); ++next)
        missing.push_back(next);
    std::vector<std::shared_ptr<const Slot>> slots(missing.empty() ? 0 : rooms.size());
    std::vector<std::shared_ptr<Record>> records(slots.size());
    if (!missing.empty()) {
        {
            std::lock_guard<std::mutex> lock(memo->mutex);
            for (size_t i : missing) {
                auto found = memo->records.find(rooms[i]);
                if (found != memo->records.end() && found->second.first == &project)
                    records[i] = found->second.second;
            }
        }
        memo->session->FindAll(records, timeStep, mode, slots);
        missing.erase(
            std::remove_if(missing.begin(), missing.end(), [&](size_t i) { return slots[i] != nullptr; }),
            missing.end());
    }
    RunInOrder(missing.size(), [&](size_t k) {
        const size_t i = missing[k];
        slots[i] = SlotFromSession(*memo, *rooms[i], project, timeStep, mode);
    });
    for (const Run& run : runs) {
        if (run.checked || run.context.empty()) continue;
        std::vector<std::shared_ptr<Record>> kept(run.count);
        {
            std::lock_guard<std::mutex> lock(memo->mutex);
            for (size_t k = 0; k < run.count; ++k) {
                auto found = memo->records.find(rooms[run.first + k]);
                if (found == memo->records.end() || found->second.first != &project) break;
                kept[k] = found->second.second;
            }
        }
        if (kept.back()) memo->session->PutGroup(rooms[run.first], project, run.context, std::move(kept));
    }
    // The traces go out in list order.
    next = 0;
    for (const Run& run : runs) {
        for (; next < run.first; ++next) {
            ReplaySlot(slots[next]);
            energies[next] = slots[next]->energy;
        }
        if (!run.view) continue;
        for (size_t k : run.view->withTraces)
            ReplaySlot(run.view->slots[k]);
        std::copy(run.view->energies.begin(), run.view->energies.end(), energies + run.first);
        next = run.first + run.count;
    }
    for (; next < rooms.size(); ++next) {
        ReplaySlot(slots[next]);
        energies[next] = slots[next]->energy;
    }
}

bool FindKeptFloorParasitic(const CLENIFloor& floor, const CLumSysDataBase& db, int hours, double& energy) {
    Memo* memo = g_pActive;
    if (!memo) return false;
    std::lock_guard<std::mutex> lock(memo->mutex);
    auto it = memo->floorParasitic.find({&floor, &db, hours});
    if (it == memo->floorParasitic.end()) return false;
    energy = it->second;
    return true;
}

void KeepFloorParasitic(const CLENIFloor& floor, const CLumSysDataBase& db, int hours, double energy) {
    Memo* memo = g_pActive;
    if (!memo) return;
    std::lock_guard<std::mutex> lock(memo->mutex);
    memo->floorParasitic[{&floor, &db, hours}] = energy;
}
