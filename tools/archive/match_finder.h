#pragma once
// Hash chains over the bytes the unpacker holds in its window: three-byte chains for the
// long matches and a direct table of the latest position of every byte pair for the
// length-2 matches.
#include <cstdint>
#include <vector>

class MatchFinder {
 public:
  // A point to come back to: positions inserted later are taken out again by restore().
  struct Snapshot {
    std::size_t inserted = 0;
    std::size_t undoSize = 0;
  };

  explicit MatchFinder(int chainDepth);
  virtual ~MatchFinder() = default;

  // Forgets every position; `data` is the buffer all later positions index.
  void reset(const std::vector<std::uint8_t>* data);
  // Makes every position before `pos` a match source (as far as the data reaches).
  void insertUpTo(std::size_t pos);

  // Starts remembering what later insertions overwrite (until the next snapshot).
  Snapshot snapshot();
  void restore(const Snapshot& s);

  int chainDepth() const { return chainDepth_; }
  void setChainDepth(int depth) { chainDepth_ = depth; }
  // Most recent earlier position with the same three bytes as `pos`, or -1.
  std::int32_t firstCandidate(std::size_t pos) const;
  // The position before `candidate` in its chain, or -1.
  std::int32_t nextCandidate(std::int32_t candidate) const;
  // Latest inserted position with the same two bytes as `pos`, or -1.
  std::int32_t pairCandidate(std::size_t pos) const;

 private:
  std::uint32_t hash3(std::size_t pos) const;
  void growRing(std::size_t size);

  const std::vector<std::uint8_t>* data_ = nullptr;
  int chainDepth_;
  std::vector<std::int32_t> head_;
  // Chain links, a ring indexed by position & ringMask_: as large as the data while that is
  // under the window size, so small inputs stay cheap.
  std::vector<std::int32_t> prev_;
  std::size_t ringMask_ = 0;
  std::vector<std::int32_t> lastPair_;
  std::size_t inserted_ = 0;
  struct Undo {
    std::uint32_t bucket;
    std::int32_t head;
    std::uint32_t pair;
    std::int32_t lastPair;
  };
  std::vector<Undo> undo_;
  bool recording_ = false;
};
