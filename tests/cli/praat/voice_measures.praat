# The peer's own measures of one recording between two times, for the
# cross-check of `tesmera-cli report`, on one line: F0 mean (Hz), jitter
# local and shimmer local (fractions), the mean HNR (dB), jitter local
# absolute (seconds), RAP and PPQ5 (fractions), and the number of periods
# its point process marks over the voiced runs of the whole file.
form Voice measures
  sentence Path
  real Stretch_start 0
  real Stretch_end 0
endform
sound = Read from file: path$
pitch = To Pitch: 0, 75, 600
f0 = Get mean: stretch_start, stretch_end, "Hertz"
selectObject: sound
pulses = To PointProcess (periodic, cc): 75, 600
jitter = Get jitter (local): stretch_start, stretch_end, 0.0001, 0.02, 1.3
jitterAbsolute = Get jitter (local, absolute): stretch_start, stretch_end, 0.0001, 0.02, 1.3
rap = Get jitter (rap): stretch_start, stretch_end, 0.0001, 0.02, 1.3
ppq5 = Get jitter (ppq5): stretch_start, stretch_end, 0.0001, 0.02, 1.3
periods = Get number of periods: 0, 0, 0.0001, 0.02, 1.3
selectObject: sound, pulses
shimmer = Get shimmer (local): stretch_start, stretch_end, 0.0001, 0.02, 1.3, 1.6
selectObject: sound
harmonicity = To Harmonicity (cc): 0.01, 75, 0.1, 1
hnr = Get mean: stretch_start, stretch_end
writeInfoLine: fixed$(f0, 6), " ", fixed$(jitter, 8), " ", fixed$(shimmer, 8), " ", fixed$(hnr, 4),
  ... " ", fixed$(jitterAbsolute, 10), " ", fixed$(rap, 8), " ", fixed$(ppq5, 8), " ", periods
