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
    // The box over the block's entities under the matrix; false when nothing was measured.
    bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const;

    // Guards the walks through nested inserts against a block that inserts itself.
    class VisitGuard {
      public:
        explicit VisitGuard(const CDxfBlock& block) : m_Block(block), m_bEntered(!block.m_bVisiting) {
            m_Block.m_bVisiting = true;
        }
        ~VisitGuard() {
            if (m_bEntered) m_Block.m_bVisiting = false;
        }
        VisitGuard(const VisitGuard&) = delete;
        VisitGuard& operator=(const VisitGuard&) = delete;
        // False when the block is already being visited further up.
        bool Entered() const { return m_bEntered; }

      private:
        const CDxfBlock& m_Block;
        bool m_bEntered;
    };

  private:
    mutable bool m_bVisiting = false;
};
