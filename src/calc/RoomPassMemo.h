#pragma once
// The building's calculation works out every room twice per time step (its log shows every room
// section twice), and a floor's calculation does the same. Within one such top-level calculation
// the model cannot change, so the second time a room is asked for, its energy and every trace it
// left (log lines, messages, boxes) are those of the first time: they are replayed rather than
// worked out again. Nothing is kept beyond the top-level calculation, unless a report scope
// (CReportRoomMemo) holds the model still across several of them; the reference calculation keeps
// nothing at all. In the desktop program a CRoomResultMemo also keeps rooms from one top-level
// calculation to the next, found again by their content.

#include <cstddef>
#include <vector>

class CLENIFloor;
class CLENIRoom;
class CLENIProject;
class CLumSysDataBase;

// While an instance lives (one per top-level calculation; nested ones do nothing), rooms are
// remembered.
class CRoomPassMemo {
  public:
    CRoomPassMemo();
    ~CRoomPassMemo();
    CRoomPassMemo(const CRoomPassMemo&) = delete;
    CRoomPassMemo& operator=(const CRoomPassMemo&) = delete;

  private:
    bool m_bOwner = false;
    bool m_bEndsPass = false;
};

// For a run that calculates an unchanging model several times (the results file's thirteen
// passes, then the project copy's results): while an instance lives, a room's energy for a time
// step, with the traces a quiet calculation leaves (general-log messages and boxes), is kept
// across the top-level calculations, so the quiet calculation of the project copy takes what the
// passes of the results file worked out.
class CReportRoomMemo {
  public:
    CReportRoomMemo();
    ~CReportRoomMemo();
    CReportRoomMemo(const CReportRoomMemo&) = delete;
    CReportRoomMemo& operator=(const CReportRoomMemo&) = delete;

  private:
    bool m_bOwner = false;
};

// For the desktop program, where the model is edited between calculations: while an instance
// lives, a room's energy for a time step and the traces its calculation left are kept from one
// top-level calculation (CRoomPassMemo) to the next, found by the room's content
// (RoomContentKey.h) and the state of the log, so a recalculation after an edit works out only the
// rooms the edit touched and leaves the same numbers, log and messages as a fresh one. What is kept
// is bounded in bytes; the rooms least recently used go first. Nested instances do nothing; a report
// scope and the reference calculation do without it.
class CRoomResultMemo {
  public:
    static constexpr size_t kDefaultBudget = size_t{256} << 20;
    explicit CRoomResultMemo(size_t budgetBytes = kDefaultBudget);
    ~CRoomResultMemo();
    CRoomResultMemo(const CRoomResultMemo&) = delete;
    CRoomResultMemo& operator=(const CRoomResultMemo&) = delete;

    struct Stats {
        size_t rooms = 0;  // distinct room contents kept
        size_t bytes = 0;  // what they hold, keys included
        size_t hits = 0;   // room calculations answered from the memo
        size_t misses = 0; // room calculations worked out
    };
    // The active instance's figures; all zero when none is active.
    static Stats GetActiveStats();

  private:
    bool m_bOwner = false;
};

// GetLightingEnergy of the room, with its traces, remembered while a CRoomPassMemo or a
// CReportRoomMemo lives (and with a CRoomResultMemo, beyond). Safe to call from several threads.
double GetRoomLightingEnergyOnce(const CLENIRoom& room, const CLENIProject& project, unsigned timeStep);

// GetRoomLightingEnergyOnce of each room into energies (as many), the rooms' traces carried out in
// list order as the plain loop leaves them. Rooms are worked out side by side (RunInOrder); with a
// CRoomResultMemo the rooms it knows are only looked up, and their traces go out once, straight from
// where they are kept.
void GetRoomsLightingEnergyOnce(const std::vector<const CLENIRoom*>& rooms, const CLENIProject& project,
                                unsigned timeStep, double* energies);

// While a CRoomPassMemo or a CReportRoomMemo lives (the model holds still): a floor's standby
// energy over a number of hours (the same for every month), kept once it was worked out without
// leaving traces. False when none is kept (or no memo lives).
bool FindKeptFloorParasitic(const CLENIFloor& floor, const CLumSysDataBase& db, int hours, double& energy);
void KeepFloorParasitic(const CLENIFloor& floor, const CLumSysDataBase& db, int hours, double energy);
