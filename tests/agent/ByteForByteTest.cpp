// The player's answers and trace lines, and the parser's readings, over fixed
// message streams, compared cycle by cycle with the ones kept in
// tests/data/golden-cycles.txt. Work on speed must not change a single byte.
// After a deliberate change of behaviour, write the file anew with
//   VEKTORLING_WRITE_GOLDEN=tests/data/golden-cycles.txt build/vektorling_tests --gtest_filter='ByteForByte*'
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>

#include "../support/Golden.h"
#include "../support/ServerStreams.h"
#include "../support/ServerText.h"
#include "message/Message.h"

namespace {

struct Stream {
  std::string name;
  int number;
  std::string team;
  std::vector<std::string> messages;  // fixed messages, or else
  streams::FullVisionMatch match;     // a generated match of `cycles` messages
  int cycles = 0;
};

std::vector<std::string> FileLines(const std::string& dir) {
  std::vector<std::string> lines;
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return lines;
  std::vector<std::string> names;
  while (dirent* e = readdir(d)) {
    if (e->d_name[0] != '.') names.push_back(e->d_name);
  }
  closedir(d);
  std::sort(names.begin(), names.end());
  for (const std::string& n : names) {
    std::ifstream in(dir + "/" + n);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
  }
  return lines;
}

std::vector<Stream> Streams() {
  std::vector<Stream> s;
  const std::vector<std::string> recorded = streams::Recorded();
  s.push_back({"recorded", 1, "Alpha", {recorded.begin() + 1, recorded.end()}, {}, 0});
  const std::vector<std::string> playon = streams::RecordedPlayOn();
  s.push_back({"recorded-playon", 7, "Alpha", {playon.begin() + 1, playon.end()}, {}, 0});

  streams::FullVisionMatch m;
  s.push_back({"vision-left", 9, "Alpha", {}, m, 760});
  m.unum = 12;
  m.ball_distance = 0.2;
  m.cycles_per_mode = 120;
  s.push_back({"vision-kicker", 12, "Alpha", {}, m, 600});
  m = streams::FullVisionMatch();
  m.unum = 4;
  m.own = "Beta";
  m.opponent = "Alpha";
  m.side = "right";
  s.push_back({"vision-right", 4, "Beta", {}, m, 760});
  m = streams::FullVisionMatch();
  m.unum = 11;
  m.all_vision = true;
  m.cycles_per_mode = 15;
  s.push_back({"vision-every-cycle", 11, "Alpha", {}, m, 300});

  Stream mutated{"mutated", 2, "Alpha", {}, {}, 0};
  std::mt19937 rng(20261207);
  const streams::FullVisionMatch open_loop;
  for (int n = 0; n < 600; ++n) {
    const std::string base = n % 2 == 0 ? recorded[1 + n % (recorded.size() - 1)] : open_loop.Message(n);
    mutated.messages.push_back(streams::Mutate(base, rng));
  }
  s.push_back(mutated);
  s.push_back({"agent-corpus", 9, "Alpha", FileLines(VEKTORLING_SOURCE_DIR "/fuzz/corpus/agent_fuzz"), {}, 0});
  return s;
}

// One text per cycle: the answer, then the trace line.
std::vector<std::string> Play(Stream& stream) {
  Agent agent(stream.number, stream.team, true);
  std::srand(5);
  std::ostringstream trace;
  agent.SetTrace(&trace);
  std::vector<std::string> cycles;
  const int n = stream.cycles > 0 ? stream.cycles : static_cast<int>(stream.messages.size());
  for (int i = 0; i < n; ++i) {
    trace.str(std::string());
    const std::string message = stream.cycles > 0 ? stream.match.Message(i) : stream.messages[i];
    if (stream.cycles > 0) stream.messages.push_back(message);
    const std::string answer = agent.Run(message);
    stream.match.Follow(answer);
    cycles.push_back(answer + "\n" + trace.str());
  }
  return cycles;
}

// Everything the parser reads from one text, as text. The sightings go into
// `seen`, which keeps them from text to text as the player's blackboard does.
std::string Readings(Message& m, CommonInformation& seen) {
  std::ostringstream out;
  out.precision(17);
  for (const char* j : {"hj1", "hj2", "laj1", "laj2", "laj3", "laj4", "raj1", "raj2", "raj3", "raj4", "llj1",
                        "llj2", "llj3", "llj4", "llj5", "llj6", "rlj1", "rlj2", "rlj3", "rlj4", "rlj5", "rlj6",
                        "ax", "hj"}) {
    out << m.ParseJoint(j) << ' ';
  }
  out << m.ParseGameTime() << ' ' << m.ParsePlayMode() << ' ' << SideLetter(m.ParseTerritory())
      << ' ' << m.ParseUniformNumber() << ' ' << m.ParseScore('F') << ' ' << m.ParseScore('E') << ' ';
  out << m.ParseGyro().transpose() << ' ' << m.ParseAcc().transpose() << ' ';
  for (char side : {'L', 'R', 'x'}) {
    const ForceResistance f = m.ParseFrp(side);
    out << f.existence << ' ' << f.coord.transpose() << ' ' << f.force.transpose() << ' ';
  }
  for (int n : {0, 1}) {
    const Hearing h = m.ParseHearingMsg(n);
    out << '[' << h.msg_ << '|' << h.team_ << '|' << h.time_ << '|' << h.myself_ << '|' << h.direction_ << '|'
        << h.text_ << "] ";
  }
  const std::string t0 = m.ParseTeamName(0);
  const std::string t1 = m.ParseTeamName(1);
  out << t0 << ' ' << t1 << ' ' << m.ParseLineCount() << ' ' << m.ParseSeeMsg() << ' ';
  m.ParseBall(*seen.ball_);
  const Ball& b = *seen.ball_;
  out << b.visible << ' ' << b.distance << ' ' << b.h_angle << ' ' << b.v_angle << ' ';
  m.ParseFlags(seen.flag_);
  for (int i : {2, 3, 0, 1, 6, 7, 4, 5}) {  // F1L, F2L, F1R, F2R, G1L, G2L, G1R, G2R
    const Object& o = *seen.flag_[i];
    out << o.visible << ' ' << o.distance << ' ' << o.h_angle << ' ' << o.v_angle << ' ';
  }
  for (const std::string& team : {std::string("Alpha"), t0, t1}) {
    for (int id = 0; id <= 12; ++id) {
      Player beyond;  // a number past the slots, read afresh
      Player* into = &beyond;
      if (id < CommonInformation::kPlayerSlots) into = team == "Alpha" ? seen.friend_[id] : seen.enemy_[id];
      m.ParsePlayer(team, id, *into);
      const Player& p = *into;
      for (int i = 0; i < Player::kPartCount; ++i) {
        const Object& o = *p.PartAt(i);
        out << o.visible << ' ' << o.distance << ' ' << o.h_angle << ' ' << o.v_angle << ' ' << o.vis_time << ' ';
      }
    }
  }
  return out.str();
}

std::vector<std::string> Parse(const std::vector<std::string>& texts) {
  Message m(1, "Alpha");
  CommonInformation seen;
  std::vector<std::string> out;
  for (const std::string& t : texts) {
    m.SetMessage(t);
    out.push_back(Readings(m, seen));
  }
  return out;
}

TEST(ByteForByteTest, AnswersTracesAndReadingsMatchTheKeptOnes) {
  golden::Recording recording;
  const auto record = [&recording](const std::string& name, const std::vector<std::string>& texts) {
    for (size_t i = 0; i < texts.size(); ++i) recording.Add(name + " " + std::to_string(i), {texts[i]});
  };
  std::vector<std::string> texts = FileLines(VEKTORLING_SOURCE_DIR "/fuzz/corpus/message_fuzz");
  for (Stream& s : Streams()) {
    record(s.name, Play(s));
    if (s.name == "mutated" || s.name == "vision-right") texts.insert(texts.end(), s.messages.begin(), s.messages.end());
  }
  record("parse", Parse(texts));
  recording.Check("VEKTORLING_WRITE_GOLDEN", "golden-cycles.txt");
}

}  // namespace
