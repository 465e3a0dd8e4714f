#pragma once
// A block definition: named entities placed by INSERT entities.

#include "dxf/EntList.h"

#include <string>

class CDxfBlock {
  public:
    static constexpr size_t kMaxName = 256;

    std::string m_csName;        // group 2
    std::string m_csLayer = "0"; // group 8 (the current layer at ENDBLK)
    Point m_BasePoint;           // groups 10/20/30
    CEntList m_EntList;          // the entities between BLOCK and ENDBLK

    CDxfBlock() = default;
    CDxfBlock(const CDxfBlock& other) { CopyFrom(other); }
    CDxfBlock& operator=(const CDxfBlock& other) {
        CopyFrom(other);
        return *this;
    }

    // An empty name is refused with an alert.
    void SetName(const std::string& name);
    void SetLayer(const std::string& layer);
    // Name, layer and base point; the entities are replaced by clones of the other's.
    void CopyFrom(const CDxfBlock& other);
    // The box over the block's entities under the matrix; false when nothing was measured. Under
    // the identity matrix it is the box kept by the entity list, measured once.
    bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const;

    // A box the renderer keeps with the block (how far its drawing reaches), valid while the
    // entity lists' change count is still at and for the same font scale.
    struct KeptBox {
        ExtentsBox box;
        unsigned long long at = 0;
        double fontScale = 1.0;
    };
    mutable KeptBox m_KeptReach;

    // Guards the walks through nested inserts against a block that inserts itself.
    class VisitGuard {
      public:
        explicit VisitGuard(const CDxfBlock& block) : m_Block(block), m_bEntered(!block.m_bVisiting) {
            m_Block.m_bVisiting = true;
            if (m_bEntered) ++s_iVisits;
        }
        ~VisitGuard() {
            if (m_bEntered) {
                m_Block.m_bVisiting = false;
                --s_iVisits;
            }
        }
        VisitGuard(const VisitGuard&) = delete;
        VisitGuard& operator=(const VisitGuard&) = delete;
        // False when the block is already being visited further up.
        bool Entered() const { return m_bEntered; }

      private:
        const CDxfBlock& m_Block;
        bool m_bEntered;
    };

    // How many blocks this thread is visiting now.
    static int GetVisitDepth() { return s_iVisits; }

  private:
    mutable bool m_bVisiting = false;
    // Blocks being visited on this thread: what a walk finds inside a block that inserts itself
    // depends on where the walk began, so a box is kept only when measured from the top.
    static inline thread_local int s_iVisits = 0;
};
