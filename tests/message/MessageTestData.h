#ifndef VEKTORLING_TESTS_MESSAGE_MESSAGETESTDATA_H
#define VEKTORLING_TESTS_MESSAGE_MESSAGETESTDATA_H

// A vision message the server sent to robot 1 of team "Alpha" standing on
// the left half (recorded from rcssserver3d).
inline const char* RecordedVisionMessage() {
  return "(time (now 0.78))(GS (sl 0) (sr 0) (t 0.00) (pm BeforeKickOff))(GYR (n torso) (rt -0.04 "
         "0.00 0.00))(ACC (n torso) (a 0.00 -0.06 46.37))(HJ (n hj1) (ax 0.00))(HJ (n hj2) (ax "
         "0.00))(See (G2R (pol 30.90 -19.30 0.44)) (G1R (pol 30.33 -15.65 0.54)) (F1R (pol 29.24 "
         "1.54 -1.19)) (F2R (pol 34.91 -33.39 -0.85)) (B (pol 16.91 -33.08 -1.78)) (P (team Alpha) "
         "(id 1) (rlowerarm (pol 0.18 -34.28 -24.60)) (llowerarm (pol 0.19 36.80 -23.78))) (L (pol "
         "23.90 -53.32 -1.07) (pol 14.25 3.26 -2.19)) (L (pol 34.90 -33.35 -1.00) (pol 29.23 1.62 "
         "-0.92)) (L (pol 29.20 1.69 -1.09) (pol 1.08 60.10 -30.26)) (L (pol 34.95 -33.33 -0.88) "
         "(pol 22.15 -59.93 -1.44)) (L (pol 28.14 -12.59 -1.11) (pol 30.01 -23.85 -1.18)) (L (pol "
         "28.12 -12.77 -1.11) (pol 29.87 -12.05 -0.96)) (L (pol 29.99 -23.95 -0.89) (pol 31.58 "
         "-22.61 -0.84)) (L (pol 18.60 -29.59 -1.67) (pol 17.74 -26.81 -1.67)) (L (pol 17.74 -26.84 "
         "-1.92) (pol 16.52 -26.07 -1.96)) (L (pol 16.55 -25.95 -2.13) (pol 15.44 -28.18 -1.83)) (L "
         "(pol 15.44 -28.38 -1.86) (pol 14.95 -32.47 -2.01)) (L (pol 14.92 -32.38 -2.08) (pol 15.29 "
         "-37.07 -2.23)) (L (pol 15.26 -37.23 -1.98) (pol 16.31 -39.57 -2.00)) (L (pol 16.31 -39.48 "
         "-1.98) (pol 17.54 -39.19 -1.86)) (L (pol 17.54 -39.47 -1.77) (pol 18.55 -36.77 -1.83)) (L "
         "(pol 18.51 -36.69 -1.53) (pol 18.92 -33.24 -1.62)) (L (pol 18.93 -33.37 -1.56) (pol 18.64 "
         "-29.67 -1.78)))(HJ (n raj1) (ax -0.00))(HJ (n raj2) (ax -0.00))(HJ (n raj3) (ax 0.00))(HJ "
         "(n raj4) (ax -0.00))(HJ (n laj1) (ax -0.00))(HJ (n laj2) (ax 0.00))(HJ (n laj3) (ax "
         "0.00))(HJ (n laj4) (ax 0.00))(HJ (n rlj1) (ax -0.00))(HJ (n rlj2) (ax 0.00))(HJ (n rlj3) "
         "(ax 0.00))(HJ (n rlj4) (ax 0.00))(HJ (n rlj5) (ax 0.00))(FRP (n rf) (c -0.00 -0.01 -0.01) "
         "(f 0.00 0.11 16.49))(HJ (n rlj6) (ax -0.00))(HJ (n llj1) (ax -0.00))(HJ (n llj2) (ax "
         "0.00))(HJ (n llj3) (ax 0.00))(HJ (n llj4) (ax 0.00))(HJ (n llj5) (ax 0.00))(FRP (n lf) (c "
         "-0.00 -0.01 -0.01) (f -0.00 0.11 16.49))(HJ (n llj6) (ax 0.00))";
}

#endif  // VEKTORLING_TESTS_MESSAGE_MESSAGETESTDATA_H
