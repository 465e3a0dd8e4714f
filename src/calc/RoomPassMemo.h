#pragma once
// The building's calculation works out every room twice per time step (its log shows every room
// section twice), and a floor's calculation does the same. Within one such top-level calculation
// the model cannot change, so the second time a room is asked for, its energy and every trace it
// left (log lines, messages, boxes) are those of the first time: they are replayed rather than
// worked out again. Nothing is kept beyond the top-level calculation, unless a report scope
// (CReportRoomMemo) holds the model still across several of them; the reference calculation keeps
// nothing at all.

class CLENIRoom;
class CLENIProject;

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

// GetLightingEnergy of the room, with its traces, remembered while a CRoomPassMemo or a
// CReportRoomMemo lives. Safe to call from several threads.
double GetRoomLightingEnergyOnce(const CLENIRoom& room, const CLENIProject& project, unsigned timeStep);
