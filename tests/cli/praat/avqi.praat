# The peer's Acoustic Voice Quality Index (AVQI v03.01) of a sustained vowel
# and a continuous-speech recording, step by step as the published
# procedure computes it, for the cross-check of `tesmera-cli report
# --speech`. One line: CPPS (dB), HNR (dB), shimmer local (%), shimmer local
# (dB), LTAS slope (dB), LTAS tilt (dB), AVQI, seconds of voiced speech kept.
form AVQI
  sentence Vowel
  sentence Speech
endform
sv = Read from file: vowel$
Rename: "sv"
cs = Read from file: speech$
Rename: "cs"

# Both lose what lies below the voice.
selectObject: cs
Filter (stop Hann band): 0, 34, 0.1
Rename: "cs2"
selectObject: sv
Filter (stop Hann band): 0, 34, 0.1
Rename: "sv2"

# The voiced parts of the speech.
selectObject: "Sound cs2"
Copy: "original"
samplingRate = Get sampling frequency
intermediateSamples = Get sampling period
Create Sound from formula: "onlyVoice", 1, 0, 0.001, samplingRate, "0"
selectObject: "Sound original"
To TextGrid (silences): 50, 0.003, -25, 0.1, 0.1, "silence", "sounding"
selectObject: "Sound original"
plusObject: "TextGrid original"
Extract intervals where: 1, "no", "does not contain", "silence"
Concatenate
Rename: "onlyLoud"
selectObject: "Sound onlyLoud"
signalEnd = Get end time
windowBorderLeft = Get start time
windowWidth = 0.03
windowBorderRight = windowBorderLeft + windowWidth
globalPower = Get power in air
voicelessThreshold = globalPower * (30 / 100)
extremeRight = signalEnd - windowWidth
# The published text leaves this unset until the first counted crossing, so
# a first window without any would stop the script; set, such a window
# counts as 0 crossings a second, as every later one does there.
afstand = 0
while windowBorderRight < extremeRight
  selectObject: "Sound onlyLoud"
  Extract part: windowBorderLeft, windowBorderRight, "rectangular", 1.0, "no"
  Rename: "onlyLoud_part"
  partialPower = Get power in air
  if partialPower > voicelessThreshold
    call checkZeros
    if (zeroCrossingRate <> undefined) and (zeroCrossingRate < 3000)
      selectObject: "Sound onlyVoice"
      plusObject: "Sound onlyLoud_part"
      Concatenate
      Rename: "onlyVoiceNew"
      removeObject: "Sound onlyVoice"
      selectObject: "Sound onlyVoiceNew"
      Rename: "onlyVoice"
    endif
  endif
  removeObject: "Sound onlyLoud_part"
  windowBorderLeft = windowBorderLeft + 0.03
  windowBorderRight = windowBorderLeft + 0.03
endwhile

procedure checkZeros
  start = 0.0025
  startZero = Get nearest zero crossing: 1, start
  findStart = startZero
  findStartZeroPlusOne = startZero + intermediateSamples
  startZeroPlusOne = Get nearest zero crossing: 1, findStartZeroPlusOne
  zeroCrossings = 0
  while (findStart < 0.0275) and (findStart <> undefined)
    while startZeroPlusOne = findStart
      findStartZeroPlusOne = findStartZeroPlusOne + intermediateSamples
      startZeroPlusOne = Get nearest zero crossing: 1, findStartZeroPlusOne
    endwhile
    afstand = startZeroPlusOne - startZero
    zeroCrossings = zeroCrossings + 1
    findStart = startZeroPlusOne
  endwhile
  zeroCrossingRate = zeroCrossings / afstand
endproc

# The last 3 s of the vowel after them.
selectObject: "Sound sv2"
durationVowel = Get total duration
if durationVowel > 3
  Extract part: durationVowel - 3, durationVowel, "rectangular", 1, "no"
else
  Copy: "sv3"
endif
Rename: "sv3"
selectObject: "Sound onlyVoice"
durationOnlyVoice = Get total duration
plusObject: "Sound sv3"
Concatenate
Rename: "avqi"

selectObject: "Sound avqi"
To PowerCepstrogram: 60, 0.002, 5000, 50
cpps = Get CPPS: "no", 0.01, 0.001, 60, 330, 0.05, "parabolic", 0.001, 0, "Straight", "Robust"

selectObject: "Sound avqi"
To Ltas: 1
slope = Get slope: 0, 1000, 1000, 10000, "energy"
selectObject: "Ltas avqi"
Compute trend line: 1, 10000
tilt = Get slope: 0, 1000, 1000, 10000, "energy"

selectObject: "Sound avqi"
To PointProcess (periodic, cc): 50, 400
Rename: "avqi1"
selectObject: "Sound avqi", "PointProcess avqi1"
percentShimmer = Get shimmer (local): 0, 0, 0.0001, 0.02, 1.3, 1.6
shim = percentShimmer * 100
shdb = Get shimmer (local_dB): 0, 0, 0.0001, 0.02, 1.3, 1.6

selectObject: "Sound avqi"
To Pitch (cc): 0, 75, 15, "no", 0.03, 0.45, 0.01, 0.35, 0.14, 600
selectObject: "Sound avqi", "Pitch avqi"
To PointProcess (cc)
Rename: "avqi2"
selectObject: "Sound avqi", "Pitch avqi", "PointProcess avqi2"
voiceReport$ = Voice report: 0, 0, 75, 600, 1.3, 1.6, 0.03, 0.45
hnr = extractNumber (voiceReport$, "Mean harmonics-to-noise ratio:")

avqi = (4.152 - (0.177 * cpps) - (0.006 * hnr) - (0.037 * shim) + (0.941 * shdb) + (0.01 * slope) + (0.093 * tilt)) * 2.8902
writeInfoLine: fixed$(cpps, 6), " ", fixed$(hnr, 6), " ", fixed$(shim, 6), " ", fixed$(shdb, 6), " ",
  ... fixed$(slope, 6), " ", fixed$(tilt, 6), " ", fixed$(avqi, 6), " ", fixed$(durationOnlyVoice - 0.001, 6)
