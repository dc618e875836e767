# The peer's smoothed cepstral peak prominence (dB) of a whole recording,
# with the settings clinical scripts use, on one line.
form Smoothed cepstral peak prominence
  sentence Path
endform
sound = Read from file: path$
cepstrogram = To PowerCepstrogram: 60, 0.002, 5000, 50
cpps = Get CPPS: "no", 0.01, 0.001, 60, 330, 0.05, "parabolic", 0.001, 0, "Straight", "Robust"
writeInfoLine: fixed$(cpps, 6)
