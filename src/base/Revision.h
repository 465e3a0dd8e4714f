#pragma once
// Revisions of model objects: every change of an object's content gives it a revision no object
// has had before, and a copy carries its original's. So two equal revisions mean equal content,
// and whoever kept something worked out from an object can tell it is still good by its revision
// alone, without looking at the content.

#include <atomic>
#include <cstdint>

// A revision not handed out before in this process (never 0). Safe to call from several threads.
std::uint64_t NewRevision();

// A number worked out from an object's content, kept with the revision it is of, in an object
// read from several threads at once: whoever works it out for a revision gets the same number.
class CKeptNumber {
  public:
    CKeptNumber() = default;
    CKeptNumber(const CKeptNumber& other) { Copy(other); }
    CKeptNumber& operator=(const CKeptNumber& other) {
        Copy(other);
        return *this;
    }

    // The number kept for that revision, if it is the one kept.
    bool Get(std::uint64_t revision, double& value) const {
        if (m_Revision.load(std::memory_order_acquire) != revision) return false;
        value = m_Value.load(std::memory_order_relaxed);
        return true;
    }
    void Put(std::uint64_t revision, double value) const {
        m_Value.store(value, std::memory_order_relaxed);
        m_Revision.store(revision, std::memory_order_release);
    }

  private:
    void Copy(const CKeptNumber& other) {
        const std::uint64_t revision = other.m_Revision.load(std::memory_order_acquire);
        Put(revision, other.m_Value.load(std::memory_order_relaxed));
    }
    mutable std::atomic<std::uint64_t> m_Revision{0}; // 0: none kept
    mutable std::atomic<double> m_Value{0.0};
};
