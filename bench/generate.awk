# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a flat NC program of `lines` blocks (default 1,000,000): straight
# moves with a plunge now and then, and every fourth block an arc, so that
# every code path of the conversion is exercised.
BEGIN {
  if (lines == "") lines = 1000000
  srand(7)
  print "%"
  print "O0001 (BENCHMARK)"
  print "G90 G17 G54"
  # A feed rate before the first move, so that inverse-time feeds can run.
  print "F200"
  x = 0; y = 0
  for (n = 4; n <= lines; n++) {
    if (n % 4 == 0) {
      x += 6
      printf "N%d G%d X%.3f Y%.3f R3.5\n", n, (n % 8 == 0) ? 2 : 3, x, y
    } else if (n % 97 == 0) {
      printf "N%d G1 Z%.3f F200\n", n, -rand() * 3
    } else {
      x = (x > 500) ? 0 : x + rand() * 4
      y = y + rand() * 20 - 10
      printf "N%d G1 X%.3f Y%.3f\n", n, x, y
    }
  }
}
