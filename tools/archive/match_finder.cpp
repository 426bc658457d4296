#include "tools/archive/match_finder.h"

#include "tools/archive/pack_codes.h"

namespace {
constexpr int kHashBits = 18;
}

MatchFinder::MatchFinder(int chainDepth)
    : chainDepth_(chainDepth), head_(std::size_t(1) << kHashBits, -1), lastPair_(65536, -1) {}

void MatchFinder::reset(const std::vector<std::uint8_t>* data) {
  data_ = data;
  std::fill(head_.begin(), head_.end(), -1);
  std::fill(lastPair_.begin(), lastPair_.end(), -1);
  inserted_ = 0;
  undo_.clear();
  recording_ = false;
}

std::uint32_t MatchFinder::hash3(std::size_t pos) const {
  const std::uint8_t* p = data_->data() + pos;
  std::uint32_t v = (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
  return (v * 2654435761u) >> (32 - kHashBits);
}

void MatchFinder::growRing(std::size_t size) {
  std::size_t ring = 4096;
  while (ring < size && ring < kWindowSize) ring <<= 1;
  if (ring <= prev_.size()) return;
  // Every inserted position still has its own slot (the ring was at least as large as the
  // data), so the links move over one by one.
  std::vector<std::int32_t> grown(ring, -1);
  for (std::size_t p = 0; p < inserted_; ++p) grown[p & (ring - 1)] = prev_[p & ringMask_];
  prev_.swap(grown);
  ringMask_ = ring - 1;
}

void MatchFinder::insertUpTo(std::size_t pos) {
  const std::size_t size = data_->size();
  if (prev_.size() < kWindowSize && prev_.size() < size) growRing(size);
  while (inserted_ < pos && inserted_ + 2 < size) {
    std::uint32_t h = hash3(inserted_);
    const std::uint8_t* p = data_->data() + inserted_;
    std::uint32_t pair = (std::uint32_t(p[0]) << 8) | p[1];
    if (recording_) undo_.push_back({h, head_[h], pair, lastPair_[pair]});
    prev_[inserted_ & ringMask_] = head_[h];
    head_[h] = std::int32_t(inserted_);
    lastPair_[pair] = std::int32_t(inserted_);
    ++inserted_;
  }
}

MatchFinder::Snapshot MatchFinder::snapshot() {
  undo_.clear();
  recording_ = true;
  return {inserted_, 0};
}

void MatchFinder::restore(const Snapshot& s) {
  // prev_ needs no undoing: re-inserting a position writes the same link again.
  while (undo_.size() > s.undoSize) {
    const Undo& u = undo_.back();
    head_[u.bucket] = u.head;
    lastPair_[u.pair] = u.lastPair;
    undo_.pop_back();
  }
  inserted_ = s.inserted;
}

std::int32_t MatchFinder::firstCandidate(std::size_t pos) const {
  if (pos + 2 >= data_->size()) return -1;
  return head_[hash3(pos)];
}

std::int32_t MatchFinder::nextCandidate(std::int32_t candidate) const {
  return prev_[std::size_t(candidate) & ringMask_];
}

std::int32_t MatchFinder::pairCandidate(std::size_t pos) const {
  if (pos + 1 >= data_->size()) return -1;
  const std::uint8_t* p = data_->data() + pos;
  return lastPair_[(std::uint32_t(p[0]) << 8) | p[1]];
}
