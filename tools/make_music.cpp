// make_music: writes the demo's soundtrack, "res/zak.dat".
//
// Usage: make_music OUTFILE
//
// The file is a 4-channel ProTracker module ("M.K.", 31 sample slots) whose
// instruments are synthesised here as 8-bit signed samples and whose ten
// patterns are composed here note by note: an upbeat A-minor synth tune of
// 76.8 s at 125 BPM (speed 6, 64-row patterns of 4 bars each).
//
//   pos 0  intro       pads swell in, kick and hats, bass pulse
//   pos 1  intro 2     plucked arpeggios and the full beat, a pickup into...
//   pos 2  theme A     the lead hook over Am F C G
//   pos 3  theme A'    its answer, with a snare fill
//   pos 4  theme B     higher lead over Dm Am F E
//   pos 5  theme B'    ends on E major, tom fill
//   pos 6  breakdown   no drums, pads, half-time lead with an echo
//   pos 7  build       snare roll crescendo, 16th arps, pickup into...
//   pos 8  theme A     reprise with broken chords and a galloping bass
//   pos 9  theme A'    reprise, tom fill that lands on the intro's downbeat
//
// Looping: the demo plays this with SDL_mixer 1.2, which tells libmikmod not
// to follow backward position jumps and restarts the module itself when it
// runs off the end of the order list, at the start of its next 2048-frame
// mixing block (measured: 256 frames, 11.6 ms, of the last notes ringing on
// before the downbeat comes back). So the song simply ends after position 9
// and the mixer starts it over; the B00 on the last row is for players that
// loop by the module's own jump. The last row fades the lead out to zero and
// the other channels get new notes on the first row, which the mixer
// crossfades, so the seam has no cut-off tail and no silence.
//
// Determinism: the only randomness is a fixed-seed xorshift generator, and
// every sample is computed in double precision and then rounded to 8 bits,
// so the output is the same bytes on every run.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Module format

constexpr int kChannels = 4;
constexpr int kRows = 64;
constexpr int kRowsPerBar = 16;
constexpr int kBarsPerPattern = kRows / kRowsPerBar;
constexpr int kSampleSlots = 31;
constexpr int kOrderSlots = 128;
constexpr int kSpeed = 6;    // ticks per row
constexpr int kTempo = 125;  // BPM in the tracker sense: 50 ticks/s at 125
constexpr int kMaxVolume = 64;

constexpr int kEffectArpeggio = 0x0;
constexpr int kEffectPortamento = 0x3;
constexpr int kEffectVibrato = 0x4;
constexpr int kEffectPanning = 0x8;
constexpr int kEffectVolumeSlide = 0xA;
constexpr int kEffectPositionJump = 0xB;
constexpr int kEffectSetVolume = 0xC;
constexpr int kEffectSetSpeed = 0xF;

// ---------------------------------------------------------------------------
// Pitch

// ProTracker periods for finetune 0, C-1 to B-3: the only 36 notes a module
// can address. A note index below is a position in this table.
constexpr std::array<int, 36> kPeriods = {
    856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
    428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
    214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};
constexpr int kNoteC3 = 24;
constexpr int kSemitones = 12;

// Players take a sample at C-2 to be recorded at 8363 Hz, so a sample whose
// waveform repeats every N bytes sounds at 8363 / N Hz on C-2. Choosing N
// per instrument sets which octave the 36 notes cover.
constexpr double kRateAtC2 = 8363.0;
// Drums are triggered on C-3 (exactly twice the rate of C-2) and synthesised
// at that rate, so they sound as written and keep their top end.
constexpr int kDrumNote = kNoteC3;
constexpr double kDrumRate = kRateAtC2 * 2.0;

// Real pitch as a MIDI number (A4 = 69) from names like "A4", "G#5", "Bb3".
int midiFromName(const std::string& name) {
    static const int kLetterSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A..G
    if (name.empty() || name[0] < 'A' || name[0] > 'G') {
        std::fprintf(stderr, "make_music: bad note name '%s'\n", name.c_str());
        std::exit(1);
    }
    int semitone = kLetterSemitone[name[0] - 'A'];
    size_t pos = 1;
    if (pos < name.size() && name[pos] == '#') { ++semitone; ++pos; }
    else if (pos < name.size() && name[pos] == 'b') { --semitone; ++pos; }
    const int octave = std::atoi(name.c_str() + pos);
    return (octave + 1) * kSemitones + semitone;
}

// ---------------------------------------------------------------------------
// Deterministic noise

// xorshift32 with a fixed seed: rand() differs between C libraries.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed) {}
    double next() {  // uniform in [-1, 1)
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

private:
    uint32_t state_;
};

// ---------------------------------------------------------------------------
// Instrument synthesis

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kSamplePeak = 124.0;  // headroom below 127 for rounding

struct Sample {
    std::string name;
    std::vector<int8_t> data;
    int volume = kMaxVolume;
    size_t loopStart = 0;   // bytes, even
    size_t loopLength = 0;  // bytes, even; 0 = plays once
};

using Wave = std::vector<double>;

// Two-pole low-pass response at harmonic k for a cutoff at harmonic `cutoff`:
// the "filter" of the subtractive sounds, applied in the harmonic domain so
// that every waveform stays band-limited and periodic.
double lowPass(double k, double cutoff) {
    const double r = k / cutoff;
    return 1.0 / std::sqrt(1.0 + r * r * r * r);
}

// A saw (all harmonics, 1/k) and a square (odd harmonics) mixed and
// filtered. In sine phase a cycle starts at zero, but on the steep edge of
// both waves: callers either fade in or start half a cycle on, where a pure
// saw crosses zero on its gentle ramp.
double filteredSawSquare(double phase, double cutoff, double squareMix, int maxHarmonic) {
    double v = 0.0;
    for (int k = 1; k <= maxHarmonic; ++k) {
        const double weight = (k % 2 == 1) ? (1.0 - squareMix) + squareMix * 2.0 : (1.0 - squareMix);
        v += weight * std::sin(kTwoPi * k * phase) / k * lowPass(k, cutoff);
    }
    return v;
}

// Band-limited pulse of duty `width` with its DC removed.
double filteredPulse(double phase, double width, double cutoff, int maxHarmonic) {
    double v = 0.0;
    for (int k = 1; k <= maxHarmonic; ++k)
        v += 2.0 / (k * kPi) * std::sin(k * kPi * width) *
             std::cos(kTwoPi * k * (phase - width / 2.0)) * lowPass(k, cutoff);
    return v;
}

// Raised-cosine fade of the last `count` values down to exactly zero, so a
// one-shot sample ends without a step when the voice stops.
void fadeOut(Wave& w, size_t count) {
    count = std::min(count, w.size());
    for (size_t i = 0; i < count; ++i) {
        const double u = static_cast<double>(i + 1) / count;  // 1 on the last value
        w[w.size() - count + i] *= 0.5 + 0.5 * std::cos(kPi * u);
    }
}

void fadeIn(Wave& w, size_t count) {
    count = std::min(count, w.size());
    for (size_t i = 0; i < count; ++i)
        w[i] *= 0.5 - 0.5 * std::cos(kPi * i / count);
}

// Scales to the common peak and rounds to signed 8 bits. Instruments are
// balanced by their default volume, not by their sample level.
Sample makeSample(const std::string& name, const Wave& w, int volume,
                  size_t loopStart = 0, size_t loopLength = 0) {
    double peak = 0.0;
    for (double v : w) peak = std::max(peak, std::fabs(v));
    Sample s;
    s.name = name;
    s.volume = volume;
    s.loopStart = loopStart;
    s.loopLength = loopLength;
    const double scale = peak > 0.0 ? kSamplePeak / peak : 0.0;
    for (double v : w) s.data.push_back(static_cast<int8_t>(std::lround(v * scale)));
    if (s.data.size() % 2) s.data.push_back(0);  // lengths are counted in words
    return s;
}

size_t drumLength(double seconds) { return static_cast<size_t>(seconds * kDrumRate); }

// Kick: a sine whose pitch falls fast from a knock to a low thump, gently
// saturated for punch. Short enough (0.2 s) to be over before the off-beat
// hat that cuts it on the shared drum channel.
Wave kickWave() {
    constexpr double kSeconds = 0.20, kStartHz = 170.0, kEndHz = 46.0;
    constexpr double kSweep = 0.030, kDecay = 0.075, kDrive = 1.8;
    Wave w(drumLength(kSeconds));
    double phase = 0.0;
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = i / kDrumRate;
        w[i] = std::tanh(kDrive * std::sin(phase) * std::exp(-t / kDecay));
        phase += kTwoPi * (kEndHz + (kStartHz - kEndHz) * std::exp(-t / kSweep)) / kDrumRate;
    }
    fadeOut(w, drumLength(0.02));
    return w;
}

// Noise through a one-pole high-pass: the bright part of snares and cymbals.
Wave highPassedNoise(size_t n, uint32_t seed, double keep) {
    Noise noise(seed);
    Wave w(n);
    double prevIn = 0.0, prevOut = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double x = noise.next();
        prevOut = keep * (prevOut + x - prevIn);
        prevIn = x;
        w[i] = prevOut;
    }
    return w;
}

// Snare: a short 185 Hz body with an overtone under a longer noise burst.
Wave snareWave() {
    constexpr double kSeconds = 0.22, kBodyHz = 185.0, kOvertoneHz = 330.0;
    constexpr double kBodyDecay = 0.045, kNoiseDecay = 0.065, kNoiseLevel = 0.8;
    Wave w = highPassedNoise(drumLength(kSeconds), 0x5EED0001u, 0.6);
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = i / kDrumRate;
        const double body = std::sin(kTwoPi * kBodyHz * t) + 0.5 * std::sin(kTwoPi * kOvertoneHz * t);
        w[i] = kNoiseLevel * w[i] * std::exp(-t / kNoiseDecay) + body * std::exp(-t / kBodyDecay);
    }
    fadeIn(w, 8);
    fadeOut(w, drumLength(0.03));
    return w;
}

Wave hatWave(double seconds, double decay, uint32_t seed) {
    Wave w = highPassedNoise(drumLength(seconds), seed, 0.3);
    for (size_t i = 0; i < w.size(); ++i) w[i] *= std::exp(-i / kDrumRate / decay);
    fadeIn(w, 4);
    fadeOut(w, drumLength(0.01));
    return w;
}

// Crash: long bright noise. Only used mixed into a kick for section starts.
Wave crashWave() {
    constexpr double kSeconds = 0.9, kDecay = 0.16;
    Wave w = highPassedNoise(drumLength(kSeconds), 0x5EED0004u, 0.45);
    for (size_t i = 0; i < w.size(); ++i) w[i] *= std::exp(-i / kDrumRate / kDecay);
    return w;
}

// Tom: a gentler pitch drop than the kick, pitched per note in fills.
Wave tomWave() {
    constexpr double kSeconds = 0.26, kStartHz = 230.0, kEndHz = 140.0;
    constexpr double kSweep = 0.06, kDecay = 0.09;
    Wave w(drumLength(kSeconds));
    double phase = 0.0;
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = i / kDrumRate;
        w[i] = std::sin(phase) * std::exp(-t / kDecay);
        phase += kTwoPi * (kEndHz + (kStartHz - kEndHz) * std::exp(-t / kSweep)) / kDrumRate;
    }
    fadeOut(w, drumLength(0.02));
    return w;
}

Wave mix(const Wave& a, double gainA, const Wave& b, double gainB) {
    Wave w(std::max(a.size(), b.size()), 0.0);
    for (size_t i = 0; i < a.size(); ++i) w[i] += gainA * a[i];
    for (size_t i = 0; i < b.size(); ++i) w[i] += gainB * b[i];
    return w;
}

// Bass: 128-byte cycles (C-1 sounds as C1). A plucked saw/square whose filter
// closes and level settles over the first cycles; the last cycle, with the
// filter at rest, is the loop, so a held note sustains without a seam.
constexpr int kBassCycle = 128;
constexpr int kBassLowestMidi = 24;  // C1 on C-1
Sample bassSample(int volume) {
    constexpr int kAttackCycles = 20, kMaxHarmonic = 60;
    // The level settles low: libmikmod's note-start crossfade misfires when
    // a mixing block ends inside it, leaving a step the size of the old
    // note's last value, so a quiet tail under the next note keeps that small.
    constexpr double kOpenCutoff = 18.0, kRestCutoff = 5.0, kRestLevel = 0.45, kSquareMix = 0.35;
    const size_t attack = kAttackCycles * kBassCycle;
    Wave w(attack + kBassCycle);
    for (size_t i = 0; i < w.size(); ++i) {
        // Envelope shape reaches exactly 0 where the loop starts.
        const double u = std::min(1.0, static_cast<double>(i) / attack);
        const double shape = (1.0 - u) * (1.0 - u) * (1.0 - u);
        const double cutoff = kRestCutoff + (kOpenCutoff - kRestCutoff) * shape;
        const double level = kRestLevel + (1.0 - kRestLevel) * shape;
        const double phase = static_cast<double>(i % kBassCycle) / kBassCycle;
        w[i] = level * filteredSawSquare(phase, cutoff, kSquareMix, kMaxHarmonic);
    }
    // Without this every note would start on the wave's edge; a quarter
    // cycle also outlasts the mixer's 64-frame note-start crossfade.
    fadeIn(w, kBassCycle / 4);
    return makeSample("bass", w, volume, attack, kBassCycle);
}

// Lead: 32-byte cycles (C-1 sounds as C3), a pulse whose width sweeps from
// 50% to 20% and back over a 64-cycle loop: the classic PWM chip lead. The
// sweep is periodic in the loop, so the loop joins itself exactly.
constexpr int kLeadCycle = 32;
constexpr int kLeadLowestMidi = 48;
Sample leadSample(int volume) {
    constexpr int kLoopCycles = 64, kMaxHarmonic = 15;
    constexpr double kWidestDuty = 0.5, kNarrowestDuty = 0.2, kCutoff = 9.0;
    const size_t loop = kLoopCycles * kLeadCycle;
    const size_t start = kLeadCycle;  // one cycle of fade-in before the loop
    Wave w(start + loop);
    for (size_t i = 0; i < w.size(); ++i) {
        const size_t j = (i + loop - start) % loop;  // position within the loop
        const double sweep = 0.5 - 0.5 * std::cos(kTwoPi * j / loop);
        const double duty = kWidestDuty - (kWidestDuty - kNarrowestDuty) * sweep;
        w[i] = filteredPulse(static_cast<double>(j % kLeadCycle) / kLeadCycle, duty, kCutoff, kMaxHarmonic);
    }
    fadeIn(w, start);
    return makeSample("lead", w, volume, start, loop);
}

// Pluck: 64-byte cycles (C-1 sounds as C2), a square with a closing filter
// and a decay to silence: the arpeggio and broken-chord voice. One-shot.
constexpr int kChordCycle = 64;
constexpr int kChordLowestMidi = 36;
Sample pluckSample(int volume) {
    constexpr int kCycles = 64, kMaxHarmonic = 24;
    constexpr double kOpenCutoff = 14.0, kRestCutoff = 3.0, kDecayCycles = 18.0;
    Wave w(kCycles * kChordCycle);
    for (size_t i = 0; i < w.size(); ++i) {
        const double cycles = static_cast<double>(i) / kChordCycle;
        const double cutoff = kRestCutoff + (kOpenCutoff - kRestCutoff) * std::exp(-cycles / 8.0);
        const double phase = static_cast<double>(i % kChordCycle) / kChordCycle;
        w[i] = std::exp(-cycles / kDecayCycles) * filteredSawSquare(phase, cutoff, 1.0, kMaxHarmonic);
    }
    fadeIn(w, kChordCycle / 4);
    fadeOut(w, 8 * kChordCycle);
    return makeSample("pluck", w, volume);
}

// Pad: a whole triad in one looped sample, root cycle 64 bytes like the
// pluck. Just intonation (10:12:15 minor, 4:5:6 major) puts a whole number
// of cycles of every voice in the 5120-byte loop, and each voice is doubled
// one cycle per loop higher: a slow chorus that still loops seamlessly.
Sample padSample(const std::string& name, bool minor, int volume) {
    constexpr int kLoop = 80 * kChordCycle;
    constexpr int kRootCycles = 80;
    constexpr double kCutoff = 4.0;
    const std::array<int, 3> cycles = {kRootCycles, minor ? 96 : 100, 120};
    Wave w(kLoop, 0.0);
    for (int voiceCycles : cycles) {
        for (int detune = 0; detune <= 1; ++detune) {
            const int c = voiceCycles + detune;
            const int maxHarmonic = (kLoop / 2 - 1) / c;  // stay below Nyquist
            for (int i = 0; i < kLoop; ++i) {
                // Half a cycle on: the loop starts where every saw crosses zero gently.
                const double phase = static_cast<double>(i) * c / kLoop + 0.5;
                w[i] += filteredSawSquare(phase - std::floor(phase), kCutoff, 0.0, maxHarmonic);
            }
        }
    }
    return makeSample(name, w, volume, 0, kLoop);
}

// ---------------------------------------------------------------------------
// The band

enum SampleId {
    kKick = 1, kKickSnare, kKickCrash, kSnare, kClosedHat, kOpenHat, kTom,
    kBass, kLead, kPluck, kPadMinor, kPadMajor, kLastSample = kPadMajor
};

// Default volumes, the mix: a note that names its sample starts at this level.
constexpr int kKickVolume = 64;
constexpr int kSnareVolume = 50;
constexpr int kHatVolume = 26;
constexpr int kOpenHatVolume = 22;
constexpr int kTomVolume = 50;
constexpr int kBassVolume = 58;
constexpr int kLeadVolume = 44;
constexpr int kPluckVolume = 34;
constexpr int kPadStartVolume = 6;  // pads always swell in from here
constexpr int kGhostVolume = 18;
constexpr int kAccentHatVolume = 38;

std::vector<Sample> makeSamples() {
    const Wave kick = kickWave(), snare = snareWave(), crash = crashWave();
    std::vector<Sample> s;
    s.push_back(makeSample("kick", kick, kKickVolume));
    s.push_back(makeSample("kick+snare", mix(kick, 0.8, snare, 0.6), kKickVolume));
    s.push_back(makeSample("kick+crash", mix(kick, 0.9, crash, 0.35), kKickVolume));
    s.push_back(makeSample("snare", snare, kSnareVolume));
    s.push_back(makeSample("closed hat", hatWave(0.06, 0.015, 0x5EED0002u), kHatVolume));
    s.push_back(makeSample("open hat", hatWave(0.22, 0.055, 0x5EED0003u), kOpenHatVolume));
    s.push_back(makeSample("tom", tomWave(), kTomVolume));
    s.push_back(bassSample(kBassVolume));
    s.push_back(leadSample(kLeadVolume));
    s.push_back(pluckSample(kPluckVolume));
    s.push_back(padSample("pad minor", true, kPadStartVolume));
    s.push_back(padSample("pad major", false, kPadStartVolume));
    return s;
}

// How a melodic sample maps real pitches onto the 36 notes.
struct Instrument {
    int sample;
    int lowestMidi;  // pitch of note C-1
};
constexpr Instrument kBassInstrument{kBass, kBassLowestMidi};
constexpr Instrument kLeadInstrument{kLead, kLeadLowestMidi};
constexpr Instrument kPluckInstrument{kPluck, kChordLowestMidi};

int noteFor(const Instrument& inst, int midi) {
    const int note = midi - inst.lowestMidi;
    if (note < 0 || note >= static_cast<int>(kPeriods.size())) {
        std::fprintf(stderr, "make_music: MIDI %d out of range for sample %d\n", midi, inst.sample);
        std::exit(1);
    }
    return note;
}

// Channels: everything percussive shares one, as on the Amiga.
constexpr int kDrumChannel = 0;
constexpr int kBassChannel = 1;
constexpr int kLeadChannel = 2;
constexpr int kChordChannel = 3;
// Panning (00 left .. 80 centre .. FF right), set on the first row: drums
// and bass in the middle, lead and chords to either side.
constexpr std::array<int, kChannels> kPan = {0x80, 0x80, 0xB0, 0x50};
constexpr int kEchoPan = 0x30;

// ---------------------------------------------------------------------------
// Patterns

struct Cell {
    int sample = 0;
    int note = -1;  // index into kPeriods, -1 = none
    int effect = 0;
    int param = 0;
    bool hasEffect() const { return effect != 0 || param != 0; }
};

struct Pattern {
    std::array<std::array<Cell, kChannels>, kRows> cells{};
};

void putNote(Pattern& p, int row, int ch, int sample, int note) {
    if (row < 0 || row >= kRows) return;  // echoes may run past the end
    p.cells[row][ch].sample = sample;
    p.cells[row][ch].note = note;
}

void putEffect(Pattern& p, int row, int ch, int effect, int param) {
    if (row < 0 || row >= kRows) return;
    p.cells[row][ch].effect = effect;
    p.cells[row][ch].param = param;
}

// For song-wide commands that may sit on any channel: takes the first free
// effect slot and refuses to overwrite the music.
void putGlobalEffect(Pattern& p, int row, int effect, int param) {
    for (auto& cell : p.cells[row]) {
        if (!cell.hasEffect()) {
            cell.effect = effect;
            cell.param = param;
            return;
        }
    }
    std::fprintf(stderr, "make_music: no free effect slot on row %d\n", row);
    std::exit(1);
}

struct Chord {
    int root;  // MIDI, F3..E4: where arpeggios and pads sit
    bool minor;
};
constexpr Chord kAm{57, true}, kDm{62, true};
constexpr Chord kF{53, false}, kC{60, false}, kG{55, false}, kE{64, false};
using Progression = std::array<Chord, kBarsPerPattern>;
constexpr Progression kMainChords = {kAm, kF, kC, kG};
constexpr Progression kVariationChords = {kDm, kAm, kF, kE};
constexpr Progression kBreakdownChords = {kF, kG, kAm, kAm};
constexpr Progression kBuildChords = {kDm, kF, kG, kE};

int thirdOf(const Chord& c) { return c.minor ? 3 : 4; }
constexpr int kFifth = 7;
constexpr int kOctave = 12;

// Melodies are written as "E5:3 D5:2 -:2 ^G5:4 | ...": pitch and length in
// rows, '-' a rest, '^' a glide from the previous note, '|' a bar line for
// the reader. Notes of kVibratoFrom rows or more get a delayed vibrato.
struct MelodyStyle {
    Instrument inst = kLeadInstrument;
    int volume = -1;  // -1: the sample's default
    int vibrato = 0x52;
    int glide = 0x18;
};
constexpr int kVibratoFrom = 4;
constexpr int kVibratoDelay = 2;

struct MelodyNote {
    int midi;  // -1 = rest
    int row;
    int length;
    bool glide;
};

std::vector<MelodyNote> parseMelody(const std::string& text, int startRow) {
    std::vector<MelodyNote> notes;
    int row = startRow;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = std::min(text.find(' ', pos), text.size());
        std::string token = text.substr(pos, end - pos);
        pos = end + 1;
        if (token.empty() || token == "|") continue;
        MelodyNote n{-1, row, 0, false};
        if (token[0] == '^') { n.glide = true; token.erase(0, 1); }
        const size_t colon = token.find(':');
        const std::string pitch = token.substr(0, colon);
        n.length = std::atoi(token.c_str() + colon + 1);
        if (pitch != "-") n.midi = midiFromName(pitch);
        notes.push_back(n);
        row += n.length;
    }
    return notes;
}

void writeMelody(Pattern& p, int ch, int startRow, const std::string& text, const MelodyStyle& style) {
    const std::vector<MelodyNote> notes = parseMelody(text, startRow);
    for (const MelodyNote& n : notes) {
        if (n.midi < 0) {
            putEffect(p, n.row, ch, kEffectSetVolume, 0);
            continue;
        }
        const int note = noteFor(style.inst, n.midi);
        if (n.glide) {
            // A glide keeps the sounding voice and bends it to the new pitch.
            putNote(p, n.row, ch, 0, note);
            putEffect(p, n.row, ch, kEffectPortamento, style.glide);
            putEffect(p, n.row + 1, ch, kEffectPortamento, 0);
        } else {
            putNote(p, n.row, ch, style.inst.sample, note);
            if (style.volume >= 0) putEffect(p, n.row, ch, kEffectSetVolume, style.volume);
        }
        if (n.length >= kVibratoFrom)
            for (int r = n.row + kVibratoDelay; r < n.row + n.length; ++r)
                putEffect(p, r, ch, kEffectVibrato, style.vibrato);
    }
    const MelodyNote& last = notes.back();
    if (last.row + last.length - startRow != kRows) {
        std::fprintf(stderr, "make_music: melody '%s' lasts %d rows\n", text.c_str(),
                     last.row + last.length);
        std::exit(1);
    }
}

// Bass per bar from a 16-row rhythm over the chord root: 'R' root, 'O' root
// an octave up, 'F' fifth, '.' let ring. Roots fold into E1..D#2.
constexpr int kBassLowestRoot = 28;  // E1
int bassRoot(const Chord& c) {
    int r = kBassLowestRoot + ((c.root - kBassLowestRoot) % kOctave + kOctave) % kOctave;
    return r;
}

void writeBassBar(Pattern& p, int bar, const Chord& chord, const char* rhythm) {
    const int root = bassRoot(chord);
    for (int i = 0; i < kRowsPerBar; ++i) {
        int midi = -1;
        switch (rhythm[i]) {
            case 'R': midi = root; break;
            case 'O': midi = root + kOctave; break;
            case 'F': midi = root + kFifth; break;
            default: break;
        }
        if (midi >= 0) putNote(p, bar * kRowsPerBar + i, kBassChannel, kBass, noteFor(kBassInstrument, midi));
    }
}

void writeBass(Pattern& p, const Progression& chords, const std::array<const char*, kBarsPerPattern>& rhythms) {
    for (int bar = 0; bar < kBarsPerPattern; ++bar) writeBassBar(p, bar, chords[bar], rhythms[bar]);
}

// Drums per bar: K kick, X kick+snare, C kick+crash, S snare, s ghost snare,
// h hat, H accented hat, o open hat, T/M/L high/mid/low tom, '.' nothing.
// `snareFrom`/`snareTo` ramp the snare volume across the bar for rolls.
constexpr int kHighTom = kNoteC3 + 3, kMidTom = kNoteC3 - 2, kLowTom = kNoteC3 - 7;
void writeDrumBar(Pattern& p, int bar, const char* beat, int snareFrom = kSnareVolume,
                  int snareTo = kSnareVolume) {
    for (int i = 0; i < kRowsPerBar; ++i) {
        const int row = bar * kRowsPerBar + i;
        int sample = 0, note = kDrumNote, volume = -1;
        switch (beat[i]) {
            case 'K': sample = kKick; break;
            case 'X': sample = kKickSnare; break;
            case 'C': sample = kKickCrash; break;
            case 'S':
                sample = kSnare;
                volume = snareFrom + (snareTo - snareFrom) * i / (kRowsPerBar - 1);
                break;
            case 's': sample = kSnare; volume = kGhostVolume; break;
            case 'h': sample = kClosedHat; break;
            case 'H': sample = kClosedHat; volume = kAccentHatVolume; break;
            case 'o': sample = kOpenHat; break;
            case 'T': sample = kTom; note = kHighTom; break;
            case 'M': sample = kTom; note = kMidTom; break;
            case 'L': sample = kTom; note = kLowTom; break;
            default: continue;
        }
        putNote(p, row, kDrumChannel, sample, note);
        if (volume >= 0 && volume != kSnareVolume) putEffect(p, row, kDrumChannel, kEffectSetVolume, volume);
    }
}

void writeDrums(Pattern& p, const std::array<const char*, kBarsPerPattern>& bars) {
    for (int bar = 0; bar < kBarsPerPattern; ++bar) writeDrumBar(p, bar, bars[bar]);
}

// Chords as tracker arpeggios: the pluck retriggered where the rhythm has an
// 'x', and the 0xy effect on every row so the chord keeps cycling root,
// third, fifth at the tick rate.
void writeArpeggioBar(Pattern& p, int bar, const Chord& chord, const char* rhythm) {
    const int param = (thirdOf(chord) << 4) | kFifth;
    for (int i = 0; i < kRowsPerBar; ++i) {
        const int row = bar * kRowsPerBar + i;
        if (rhythm[i] == 'x') putNote(p, row, kChordChannel, kPluck, noteFor(kPluckInstrument, chord.root));
        putEffect(p, row, kChordChannel, kEffectArpeggio, param);
    }
}

void writeArpeggios(Pattern& p, const Progression& chords, const char* rhythm) {
    for (int bar = 0; bar < kBarsPerPattern; ++bar) writeArpeggioBar(p, bar, chords[bar], rhythm);
}

// Broken chords: single pluck notes walking the triad in 16ths, voiced from
// the fifth below the root so the top stays inside the note range.
void writeBrokenChords(Pattern& p, const Progression& chords) {
    static const int kWalk[kRowsPerBar] = {0, 1, 2, 3, 2, 1, 2, 3, 0, 1, 2, 3, 2, 1, 2, 1};
    for (int bar = 0; bar < kBarsPerPattern; ++bar) {
        const Chord& c = chords[bar];
        const int tones[4] = {c.root + kFifth - kOctave, c.root, c.root + thirdOf(c), c.root + kFifth};
        for (int i = 0; i < kRowsPerBar; ++i)
            putNote(p, bar * kRowsPerBar + i, kChordChannel, kPluck, noteFor(kPluckInstrument, tones[kWalk[i]]));
    }
}

// Pads: one chord sample per bar, swelling from its quiet default volume
// with a volume slide (+`rate` per tick) for `rows` rows.
void writePads(Pattern& p, const Progression& chords, int rate, int rows) {
    for (int bar = 0; bar < kBarsPerPattern; ++bar) {
        const Chord& c = chords[bar];
        const int row = bar * kRowsPerBar;
        putNote(p, row, kChordChannel, c.minor ? kPadMinor : kPadMajor, noteFor(kPluckInstrument, c.root));
        for (int r = row + 1; r <= row + rows; ++r) putEffect(p, r, kChordChannel, kEffectVolumeSlide, rate << 4);
    }
}

// ---------------------------------------------------------------------------
// The song

const char* const kBeat = "K.o.X.o.K.o.X.o.";
const char* const kBeatBusy = "K.ohX.o.K.ohX.oH";
const char* const kCrashBeat = "C.o.X.o.K.o.X.o.";
const char* const kSnareFill = "K.o.X.o.K.o.XSSS";
const char* const kTomFill = "K.o.X.o.TTMMLLSS";
const char* const kBassOctaves = "R.O.R.O.R.O.R.O.";
const char* const kBassSyncopated = "R..R..O.R..R..F.";
const char* const kBassGallop = "R.RRR.RRR.ROR.RO";
const char* const kEighths = "x.x.x.x.x.x.x.x.";
const char* const kSyncopated = "x..x..x.x..x..x.";
const char* const kSixteenths = "xxxxxxxxxxxxxxxx";

const char* const kHook =
    "E5:3 E5:3 D5:2 E5:4 A4:2 C5:2 | D5:3 C5:3 A4:2 C5:6 -:2 | "
    "E5:3 E5:3 D5:2 E5:4 G5:2 E5:2 | D5:6 B4:2 G4:4 -:2 C5:1 D5:1";
const char* const kHookAnswer =
    "E5:3 E5:3 D5:2 E5:4 A5:2 G5:2 | E5:3 D5:3 C5:2 D5:6 -:2 | "
    "C5:3 D5:3 E5:2 G5:4 E5:2 G5:2 | D5:3 G5:3 B5:2 A5:6 G5:2";
const char* const kThemeB =
    "A5:6 F5:2 D5:4 F5:4 | E5:6 C5:2 A4:4 C5:4 | "
    "F5:3 E5:3 C5:2 A5:4 G5:2 F5:2 | G#5:6 F5:2 E5:4 B4:2 D5:2";
const char* const kThemeBAnswer =
    "A5:6 F5:2 D5:4 F5:4 | E5:6 C5:2 A4:4 E5:4 | "
    "F5:3 G5:3 A5:2 G5:4 F5:2 E5:2 | E5:4 G#5:4 B5:8";
const char* const kBreakdownLine =
    "C5:8 A4:4 C5:4 | D5:8 B4:4 D5:4 | E5:12 D5:2 C5:2 | A4:16";
const char* const kBuildLine =
    "D5:4 F5:4 A5:8 | C5:4 F5:4 A5:8 | D5:4 G5:4 B5:8 | B5:4 G#5:4 E5:4 C5:2 D5:2";
const char* const kPickup = "-:56 A4:2 B4:2 C5:2 D5:2";

constexpr int kEchoDelayRows = 3;
constexpr int kBreakdownLeadVolume = 34;
constexpr int kEchoVolume = 14;
constexpr int kFadeOutSlide = 0x0F;  // -15 per tick: the lead's last note is silent within the row

Pattern intro() {
    Pattern p;
    writeDrums(p, {"C...h.h.K...h.h.", "K...h.h.K...h.h.", "K...h.h.K...h.h.", "K...h.h.K.h.S.SS"});
    writeBass(p, kMainChords, {"R.R.R.R.R.R.R.R.", "R.R.R.R.R.R.R.R.", "R.R.R.R.R.R.R.R.", "R.R.R.R.R.R.O.O."});
    writePads(p, kMainChords, 2, 3);
    // The first row of the song sets the stage, also after the mixer has
    // restarted it: panning on every channel, then speed and tempo.
    for (int ch = 0; ch < kChannels; ++ch) putEffect(p, 0, ch, kEffectPanning, kPan[ch]);
    putGlobalEffect(p, 1, kEffectSetSpeed, kSpeed);
    putGlobalEffect(p, 1, kEffectSetSpeed, kTempo);  // values from 32 up set the tempo
    return p;
}

Pattern introDrums() {
    Pattern p;
    writeDrums(p, {kCrashBeat, kBeat, kBeat, kSnareFill});
    writeBass(p, kMainChords, {kBassOctaves, kBassOctaves, kBassOctaves, kBassOctaves});
    writeArpeggios(p, kMainChords, kEighths);
    writeMelody(p, kLeadChannel, 0, kPickup, {});
    return p;
}

Pattern themeA(const char* melody, const char* lastBar, bool reprise) {
    Pattern p;
    const char* beat = reprise ? kBeatBusy : kBeat;
    writeDrums(p, {kCrashBeat, beat, beat, lastBar});
    const char* bass = reprise ? kBassGallop : kBassOctaves;
    writeBass(p, kMainChords, {bass, bass, bass, reprise ? kBassOctaves : kBassSyncopated});
    if (reprise) writeBrokenChords(p, kMainChords);
    else writeArpeggios(p, kMainChords, kEighths);
    writeMelody(p, kLeadChannel, 0, melody, {});
    return p;
}

Pattern themeB(const char* melody, const char* lastBar) {
    Pattern p;
    writeDrums(p, {kCrashBeat, kBeatBusy, kBeat, lastBar});
    writeBass(p, kVariationChords, {kBassSyncopated, kBassSyncopated, kBassSyncopated, kBassOctaves});
    writeArpeggios(p, kVariationChords, kSyncopated);
    writeMelody(p, kLeadChannel, 0, melody, {});
    return p;
}

// No drums and no bass: the bass channel carries a quiet echo of the lead,
// panned away from it.
Pattern breakdown() {
    Pattern p;
    writeDrums(p, {"....h.......h...", "....h.......h...", "....h.......h...", "....h.......h.hh"});
    writePads(p, kBreakdownChords, 1, 7);
    MelodyStyle lead;
    lead.volume = kBreakdownLeadVolume;
    writeMelody(p, kLeadChannel, 0, kBreakdownLine, lead);
    // Silence the last bass note of the variation at once: it would clash
    // with the F pad until the echo's first note.
    MelodyStyle echo;
    echo.volume = kEchoVolume;
    putEffect(p, 0, kBassChannel, kEffectSetVolume, 0);
    putEffect(p, 1, kBassChannel, kEffectPanning, kEchoPan);
    writeMelody(p, kBassChannel, kEchoDelayRows, kBreakdownLine, echo);
    return p;
}

Pattern build() {
    Pattern p;
    writeDrumBar(p, 0, "K...X...K...X...");
    writeDrumBar(p, 1, "K.S.X.S.K.S.X.S.", 24, 36);
    writeDrumBar(p, 2, "XSSSXSSSXSSSXSSS", 24, 44);
    writeDrumBar(p, 3, "SSSSSSSSSSSSSSSS", 44, kMaxVolume);
    writeBass(p, kBuildChords, {"R...R...R...R...", "R.R.R.R.R.R.R.R.", "RRRRRRRRRRRRRRRR", "RRRRRRRRRRRRRRRR"});
    putEffect(p, 0, kBassChannel, kEffectPanning, kPan[kBassChannel]);
    writeArpeggios(p, kBuildChords, kSixteenths);
    writeMelody(p, kLeadChannel, 0, kBuildLine, {});
    return p;
}

Pattern finale() {
    Pattern p = themeA(kHookAnswer, kTomFill, true);
    putEffect(p, kRows - 1, kLeadChannel, kEffectVolumeSlide, kFadeOutSlide);
    putGlobalEffect(p, kRows - 1, kEffectPositionJump, 0);
    return p;
}

std::vector<Pattern> composeSong() {
    return {
        intro(),
        introDrums(),
        themeA(kHook, kBeat, false),
        themeA(kHookAnswer, kSnareFill, false),
        themeB(kThemeB, kBeat),
        themeB(kThemeBAnswer, kTomFill),
        breakdown(),
        build(),
        themeA(kHook, kBeatBusy, true),
        finale(),
    };
}

// ---------------------------------------------------------------------------
// Writing the file

void putBigEndian16(std::vector<uint8_t>& out, size_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value & 0xFF));
}

void putText(std::vector<uint8_t>& out, const std::string& text, size_t width) {
    for (size_t i = 0; i < width; ++i) out.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
}

void putSampleHeader(std::vector<uint8_t>& out, const Sample* s) {
    putText(out, s ? s->name : "", 22);
    putBigEndian16(out, s ? s->data.size() / 2 : 0);
    out.push_back(0);  // finetune
    out.push_back(static_cast<uint8_t>(s ? s->volume : 0));
    const bool looped = s && s->loopLength > 0;
    putBigEndian16(out, looped ? s->loopStart / 2 : 0);
    putBigEndian16(out, looped ? s->loopLength / 2 : 1);  // 1 word: no loop
}

void putCell(std::vector<uint8_t>& out, const Cell& c) {
    const int period = c.note >= 0 ? kPeriods[c.note] : 0;
    out.push_back(static_cast<uint8_t>((c.sample & 0xF0) | (period >> 8)));
    out.push_back(static_cast<uint8_t>(period & 0xFF));
    out.push_back(static_cast<uint8_t>(((c.sample & 0x0F) << 4) | c.effect));
    out.push_back(static_cast<uint8_t>(c.param));
}

std::vector<uint8_t> buildModule(const std::vector<Sample>& samples, const std::vector<Pattern>& patterns) {
    std::vector<uint8_t> out;
    putText(out, "glass scroller", 20);
    for (int i = 0; i < kSampleSlots; ++i)
        putSampleHeader(out, i < static_cast<int>(samples.size()) ? &samples[i] : nullptr);
    out.push_back(static_cast<uint8_t>(patterns.size()));  // song length: one position per pattern
    out.push_back(0);                                      // restart position
    for (int i = 0; i < kOrderSlots; ++i) out.push_back(static_cast<uint8_t>(i < static_cast<int>(patterns.size()) ? i : 0));
    putText(out, "M.K.", 4);
    for (const Pattern& p : patterns)
        for (const auto& row : p.cells)
            for (const Cell& c : row) putCell(out, c);
    for (const Sample& s : samples)
        for (int8_t v : s.data) out.push_back(static_cast<uint8_t>(v));
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_music OUTFILE\n");
        return 2;
    }
    const std::vector<Sample> samples = makeSamples();
    if (static_cast<int>(samples.size()) != kLastSample) {
        std::fprintf(stderr, "make_music: sample table out of step\n");
        return 1;
    }
    const std::vector<uint8_t> module = buildModule(samples, composeSong());
    std::ofstream file(argv[1], std::ios::binary);
    file.write(reinterpret_cast<const char*>(module.data()), static_cast<std::streamsize>(module.size()));
    if (!file) {
        std::fprintf(stderr, "make_music: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
