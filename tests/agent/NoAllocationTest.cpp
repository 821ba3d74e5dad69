// A cycle must not touch the heap: with full vision it runs hundreds of
// estimators and parses thousands of characters 50 times a second. Nor must
// the drawings that follow it.
#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

#include "../support/ServerStreams.h"
#include "../support/ServerText.h"
#include "../support/UdpListener.h"
#include "agent/Beliefs.h"
#include "agent/DrawingSender.h"

namespace {
std::atomic<long> g_allocations{0};

// Every allocation of the test binary is counted. All forms of the global
// allocation functions are replaced together and take their memory from
// malloc (or posix_memalign), so that whatever form allocates, the form
// that frees matches it, also under AddressSanitizer.
void* Allocate(std::size_t n, std::size_t alignment) {
  ++g_allocations;
  if (n == 0) n = 1;
  void* p = nullptr;
  if (alignment <= alignof(std::max_align_t)) {
    p = std::malloc(n);
  } else if (posix_memalign(&p, alignment, n) != 0) {
    p = nullptr;
  }
  return p;
}
void* AllocateOrThrow(std::size_t n, std::size_t alignment) {
  if (void* p = Allocate(n, alignment)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t n) { return AllocateOrThrow(n, 0); }
void* operator new[](std::size_t n) { return AllocateOrThrow(n, 0); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n, 0); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n, 0); }
void* operator new(std::size_t n, std::align_val_t a) { return AllocateOrThrow(n, static_cast<std::size_t>(a)); }
void* operator new[](std::size_t n, std::align_val_t a) { return AllocateOrThrow(n, static_cast<std::size_t>(a)); }
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  return Allocate(n, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  return Allocate(n, static_cast<std::size_t>(a));
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

// Whole cycles of a walking player, each with vision followed by its
// drawings (to a listener that reads none): once a first pass over a class
// of messages has sized every buffer, a second pass takes nothing from the
// heap.
TEST(NoAllocationTest, CyclesOfEveryMessageClassStayOffTheHeap) {
  const std::vector<std::string> recorded = streams::RecordedPlayOn();
  streams::FullVisionMatch match;
  match.unum = 7;
  match.jolts = false;
  match.cycles_per_mode = 10;  // every play mode, beams and all
  match.Stand();
  std::vector<std::string> vision, blind, full, full_blind, modes;
  for (size_t i = 1; i < recorded.size(); ++i) {
    (recorded[i].find("(See") != std::string::npos ? vision : blind).push_back(recorded[i]);
  }
  streams::FullVisionMatch play_on = match;
  play_on.cycles_per_mode = 1 << 30;  // its first mode only
  for (int n = 0; n < 190; ++n) {
    modes.push_back(match.Message(n));
    std::string m = play_on.Message(n);
    m.replace(m.find("(pm BeforeKickOff)"), 18, "(pm PlayOn)");
    (n % 3 == 0 ? full : full_blind).push_back(m);
  }
  const std::pair<const char*, const std::vector<std::string>*> kClasses[] = {
      {"recorded, vision", &vision}, {"recorded, no vision", &blind}, {"22 players in view", &full},
      {"22 players, no vision", &full_blind}, {"every play mode", &modes}};
  for (const auto& c : kClasses) {
    SCOPED_TRACE(c.first);
    ASSERT_GE(c.second->size(), 10u);
    TestAgent agent(7, "Alpha", true);
    agent.SetBehavior(Agent::WALK);
    UdpListener viewer;
    draw::DrawingSender drawing(net::Addr(viewer.port(), std::string("127.0.0.1")));
    auto cycle = [&](const std::string& m) {
      const size_t bytes = agent.Run(m).size();
      if (agent.SawThisCycle()) drawing.Send(agent.GatherBeliefs());
      return bytes;
    };
    for (const std::string& m : *c.second) cycle(m);
    const long before = g_allocations.load();
    size_t bytes = 0;
    for (const std::string& m : *c.second) bytes += cycle(m);
    EXPECT_EQ(g_allocations.load() - before, 0);
    EXPECT_EQ(drawing.Failures(), 0);
    EXPECT_GT(bytes, 22 * 8 * c.second->size());  // every answer carries the joint commands
  }
}

}  // namespace
