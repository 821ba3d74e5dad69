#include "agent/motion_sequence/StandUpSequence.h"

const char* const StandUpSequence::kDocument = R"xml(<!--
  A motion sequence: motions played in order, each for "time" think cycles.
  <sequence name="NAME" refresh="true|false">   refresh: re-read the file
    <motion name="NAME" time="CYCLES">
      <move id="JOINT" degree="TARGET" speed="0.05" start="0" end="CYCLES" type="0"/>
    </motion>
  </sequence>
  move attributes:
    id      required  joint (perceptor name, hj1 ... rlj6)
    degree  required  target angle, degrees
    speed   optional  gain (type 0) or constant speed (type 1); default 0.05
    start   optional  first cycle of the motion in which the move acts; default 0
    end     optional  first cycle in which it no longer acts; default the motion's time
    type    optional  0 proportional, 1 constant speed; default 0
-->
<sequence name="stand_up" refresh="true">
  <motion name="passiveness" time="8">
    <move id="raj1" degree="-180.0" speed="0.05"/>
    <move id="laj1" degree="-180.0" speed="0.05"/>
    <move id="raj2" degree="-180.0" speed="0.05"/>
    <move id="laj2" degree="180.0" speed="0.05"/>
    <move id="raj3" degree="-180.0" speed="0.05"/>
    <move id="laj3" degree="180.0" speed="0.05"/>
  </motion>
  <motion name="open_foot1" time="7">
    <move id="raj1" degree="-180.0" speed="0.05"/>
    <move id="laj1" degree="-180.0" speed="0.05"/>
    <move id="rlj2" degree="-120.0" speed="0.05"/>
    <move id="llj2" degree="120.0" speed="0.05"/>
    <move id="rlj3" degree="30.0" speed="0.05"/>
    <move id="llj3" degree="30.0" speed="0.05"/>
    <move id="rlj4" degree="-10.0" speed="0.05"/>
    <move id="llj4" degree="-10.0" speed="0.05"/>
    <move id="rlj5" degree="-30.0" speed="0.05"/>
    <move id="llj5" degree="-30.0" speed="0.05"/>
  </motion>
  <motion name="open_foot2" time="8">
    <move id="raj1" degree="-180.0" speed="0.05"/>
    <move id="laj1" degree="-180.0" speed="0.05"/>
    <move id="rlj1" degree="-60.0" speed="0.05"/>
    <move id="llj1" degree="-60.0" speed="0.05"/>
    <move id="rlj2" degree="-90.0" speed="0.05"/>
    <move id="llj2" degree="90.0" speed="0.05"/>
    <move id="rlj3" degree="120.0" speed="0.05"/>
    <move id="llj3" degree="120.0" speed="0.05"/>
    <move id="rlj4" degree="-90.0" speed="0.05"/>
    <move id="llj4" degree="-90.0" speed="0.05"/>
    <move id="rlj5" degree="-90.0" speed="0.05"/>
    <move id="llj5" degree="-90.0" speed="0.05"/>
  </motion>
  <motion name="settle_body" time="30">
    <move id="raj1" degree="40.0" speed="0.05"/>
    <move id="laj1" degree="40.0" speed="0.05"/>
    <move id="raj2" degree="0.0" speed="0.05"/>
    <move id="laj2" degree="0.0" speed="0.05"/>
    <move id="raj3" degree="90.0" speed="0.05"/>
    <move id="laj3" degree="-90.0" speed="0.05"/>
    <move id="rlj1" degree="-90.0" speed="0.05"/>
    <move id="llj1" degree="-90.0" speed="0.05"/>
    <move id="rlj2" degree="45.0" speed="0.05"/>
    <move id="llj2" degree="-45.0" speed="0.05"/>
    <move id="rlj3" degree="100.0" speed="0.05"/>
    <move id="llj3" degree="100.0" speed="0.05"/>
    <move id="rlj4" degree="-90.0" speed="0.05"/>
    <move id="llj4" degree="-90.0" speed="0.05"/>
    <move id="rlj5" degree="-45.0" speed="0.05"/>
    <move id="llj5" degree="-45.0" speed="0.05"/>
  </motion>
  <motion name="close_foot" time="5">
    <move id="rlj1" degree="90.0" speed="0.05"/>
    <move id="llj1" degree="90.0" speed="0.05"/>
    <move id="rlj2" degree="120.0" speed="0.05"/>
    <move id="llj2" degree="-120.0" speed="0.05"/>
    <move id="rlj3" degree="-120.0" speed="0.05"/>
    <move id="llj3" degree="-120.0" speed="0.05"/>
    <move id="rlj4" degree="90.0" speed="0.05"/>
    <move id="llj4" degree="90.0" speed="0.05"/>
    <move id="rlj5" degree="120.0" speed="0.05"/>
    <move id="llj5" degree="120.0" speed="0.05"/>
  </motion>
</sequence>
)xml";

StandUpSequence::StandUpSequence() { ReadDirect(kDocument); }
