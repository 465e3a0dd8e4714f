#pragma once
// The building's calculation works out every room twice per time step (its log shows every room
// section twice), and a floor's calculation does the same. Within one such top-level calculation
// the model cannot change, so the second time a room is asked for, its energy and every trace it
// left (log lines, messages, boxes) are those of the first time: they are replayed rather than
// worked out again. Nothing is kept beyond the top-level calculation, and the reference
// calculation keeps nothing at all.

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
};

// GetLightingEnergy of the room, with its traces, remembered while a CRoomPassMemo lives. Safe to
// call from several threads.
double GetRoomLightingEnergyOnce(const CLENIRoom& room, const CLENIProject& project, unsigned timeStep);
