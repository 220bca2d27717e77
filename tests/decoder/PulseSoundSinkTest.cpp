// The PulseAudio output: its buffer sizes, the volume it asks the server for and the hand-over from
// the ring, then the real thing against a private server whose null sink is recorded: the samples
// come out unchanged, a pause silences what is queued, the volume reaches queued samples, no
// stream is left open once sound stops, and the sound comes back after the server restarts.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "decoder/control/LagMeter.h"
#include "decoder/control/PulseSoundSink.h"
#include "decoder/control/SampleRing.h"
#include "decoder/control/SoundOutput.h"

extern char** environ;

namespace ov::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(PulseSoundSink, BufferSizesAreWholeSamplesAndThePeriodFitsTheTarget) {
  const pa_buffer_attr a = pulse::BufferAttr(150, 50);
  EXPECT_EQ(a.tlength, 150u * 16);  // 8 kHz, 2 bytes a sample
  EXPECT_EQ(a.minreq, 50u * 16);
  EXPECT_EQ(a.prebuf, a.minreq);  // a short last burst still starts
  EXPECT_EQ(a.maxlength, uint32_t(-1));

  const pa_buffer_attr odd = pulse::BufferAttr(40, 100);  // a period longer than the target
  EXPECT_EQ(odd.minreq, odd.tlength);
  const pa_buffer_attr silly = pulse::BufferAttr(-5, 0);
  EXPECT_GT(silly.tlength, 0u);
  EXPECT_GT(silly.minreq, 0u);
  EXPECT_LE(silly.minreq, silly.tlength);
  EXPECT_EQ(silly.tlength % 2, 0u);
}

TEST(PulseSoundSink, GainBecomesTheServersVolume) {
  EXPECT_EQ(pulse::VolumeOf(0.0f), PA_VOLUME_MUTED);
  EXPECT_EQ(pulse::VolumeOf(-1.0f), PA_VOLUME_MUTED);
  EXPECT_EQ(pulse::VolumeOf(std::nanf("")), PA_VOLUME_MUTED);
  EXPECT_EQ(pulse::VolumeOf(1.0f), PA_VOLUME_NORM);
  EXPECT_EQ(pulse::VolumeOf(4.0f), PA_VOLUME_NORM);  // never louder than the samples
  EXPECT_NEAR(pa_sw_volume_to_linear(pulse::VolumeOf(0.5f)), 0.5, 0.01);
  // Every step of the volume control is a step the listener hears.
  pa_volume_t last = PA_VOLUME_MUTED;
  for (int step = 1; step <= 15; ++step) {
    const pa_volume_t v = pulse::VolumeOf(SoundOutput::Gain(step));
    EXPECT_GT(v, last) << "step " << step;
    EXPECT_NEAR(pa_sw_volume_to_linear(v), SoundOutput::Gain(step), 0.01) << "step " << step;
    last = v;
  }
}

TEST(PulseSoundSink, HandsOverWholeSamplesAndKeepsTheRest) {
  SampleRing ring;
  std::vector<int16_t> frame(1600);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = int16_t(i + 1);
  ring.Push(frame, std::chrono::steady_clock::now());
  const size_t queued = ring.Queued();
  ASSERT_EQ(queued, SampleRing::kLeadIn + frame.size());

  std::vector<int16_t> out(queued + 10, -1);
  EXPECT_EQ(pulse::HandOver(ring, out.data(), 1), 0u);  // less than one sample of room
  EXPECT_EQ(pulse::HandOver(ring, out.data(), 2 * SampleRing::kLeadIn + 1),
            2 * SampleRing::kLeadIn);
  EXPECT_EQ(out[SampleRing::kLeadIn - 1], 0);  // the lead-in is silence
  EXPECT_EQ(out[SampleRing::kLeadIn], -1);     // the odd byte of room was not written
  EXPECT_EQ(ring.Queued(), frame.size());
  // More room than samples: all of them, at full level (the server applies the volume).
  ring.SetGain(1.0f);
  EXPECT_EQ(pulse::HandOver(ring, out.data(), out.size() * 2), frame.size() * 2);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[frame.size() - 1], 1600);
  EXPECT_EQ(ring.Queued(), 0u);
}

// After a restart (a new connection to the server) the old readings no longer count: the guess
// holds until the first new reading, which replaces it whole rather than being smoothed in.
TEST(LagMeter, ARestartWaitsTheFirstGuessAndTakesTheNextReadingWhole) {
  const auto ago = [](int ms) {
    return std::chrono::steady_clock::now() - std::chrono::milliseconds(ms);
  };
  LagMeter lag(60.0);
  EXPECT_EQ(lag.SmoothedMs(), 60.0);
  lag.Heard(ago(300));
  EXPECT_NEAR(lag.SmoothedMs(), 300, 50);
  lag.Heard(ago(100));
  EXPECT_GT(lag.SmoothedMs(), 250);  // smoothed: one reading moves it little
  lag.Restart(60.0);
  EXPECT_EQ(lag.SmoothedMs(), 60.0);
  EXPECT_LT(lag.LatestMs(), 0);
  lag.Heard(ago(100));
  EXPECT_NEAR(lag.SmoothedMs(), 100, 50);
  EXPECT_NEAR(lag.LatestMs(), 100, 50);
}

// A PulseAudio server of the test's own with a null sink at 8 kHz mono, so the samples pass
// without resampling and the recording of its monitor can be compared sample by sample.
class PulseServer {
 public:
  static bool Installed() {
    return std::system(
               "command -v pulseaudio >/dev/null 2>&1 && command -v parec >/dev/null 2>&1 "
               "&& command -v pactl >/dev/null 2>&1") == 0;
  }

  bool Start() {
    char pattern[] = "/tmp/ov-pulse-XXXXXX";
    if (!mkdtemp(pattern)) return false;
    m_dir = pattern;
    m_server = "unix:" + m_dir + "/pulse/native";
    return Launch();
  }

  // The server quits as it does when a desktop restarts it.
  void Kill() {
    StopRecording();
    Kill(m_daemon);
    m_daemon = -1;
  }

  // A new server at the same socket.
  bool Launch() {
    m_daemon = Spawn({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                      "--log-target=stderr", "--load=module-native-protocol-unix",
                      "--load=module-null-sink sink_name=cap rate=8000 channels=1 format=s16le"},
                     "/dev/null");
    if (m_daemon <= 0) return false;
    for (int i = 0; i < 100; ++i) {
      if (Pactl("info >/dev/null 2>&1") == 0) return Pactl("set-default-sink cap") == 0;
      std::this_thread::sleep_for(50ms);
    }
    return false;
  }

  ~PulseServer() {
    StopRecording();
    Kill(m_daemon);
    if (!m_dir.empty()) fs::remove_all(m_dir);
  }

  const std::string& Address() const { return m_server; }
  std::string SocketPath() const { return m_dir + "/pulse/native"; }

  void StartRecording() {
    m_recording = Spawn({"parec", "--latency-msec=20", "-d", "cap.monitor", "--raw",
                         "--format=s16le", "--rate=8000", "--channels=1"},
                        m_dir + "/rec.raw");
    // The monitor runs all the time: wait for its first samples.
    for (int i = 0; i < 100 && RecordedBytes() < 1600; ++i) std::this_thread::sleep_for(20ms);
  }

  std::vector<int16_t> StopRecording() {
    if (m_recording <= 0) return {};
    Kill(m_recording);
    m_recording = -1;
    std::vector<int16_t> samples;
    std::ifstream in(m_dir + "/rec.raw", std::ios::binary);
    int16_t v;
    while (in.read(reinterpret_cast<char*>(&v), sizeof v)) samples.push_back(v);
    return samples;
  }

  int SinkInputs() {
    const std::string cmd = "PULSE_SERVER=" + m_server + " pactl list short sink-inputs";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return -1;
    int lines = 0;
    for (int c; (c = std::fgetc(p)) != EOF;) lines += c == '\n';
    pclose(p);
    return lines;
  }

 private:
  int Pactl(const std::string& args) {
    return std::system(("PULSE_SERVER=" + m_server + " pactl " + args).c_str());
  }

  long RecordedBytes() const {
    struct stat st {};
    return stat((m_dir + "/rec.raw").c_str(), &st) == 0 ? long(st.st_size) : 0;
  }

  pid_t Spawn(std::vector<std::string> args, const std::string& out) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      const std::string kv = *e;
      if (kv.rfind("XDG_RUNTIME_DIR=", 0) != 0 && kv.rfind("PULSE_SERVER=", 0) != 0)
        env.push_back(kv);
    }
    env.push_back("XDG_RUNTIME_DIR=" + m_dir);
    env.push_back("PULSE_SERVER=" + m_server);
    std::vector<char*> argv;
    std::vector<char*> envp;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  }

  static void Kill(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
  }

  std::string m_dir;
  std::string m_server;
  pid_t m_daemon = -1;
  pid_t m_recording = -1;
};

// Something at the server's socket that takes connections and never answers them, as a server
// that hangs; counts how often the player knocks.
class SilentServer {
 public:
  explicit SilentServer(const std::string& path) : m_path(path) {
    ::unlink(m_path.c_str());
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (m_fd < 0 || path.size() >= sizeof addr.sun_path) return;
    std::copy(path.begin(), path.end(), addr.sun_path);
    if (::bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(m_fd, 64) != 0)
      return;
    m_listening = true;
    m_thread = std::thread([this] {
      std::vector<int> taken;
      while (!m_stop.load()) {
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        for (int c; (c = ::accept(m_fd, nullptr, nullptr)) >= 0;) {
          taken.push_back(c);
          m_connections.fetch_add(1);
        }
      }
      for (int c : taken) ::close(c);
    });
  }
  ~SilentServer() {
    m_stop.store(true);
    if (m_thread.joinable()) m_thread.join();
    if (m_fd >= 0) ::close(m_fd);
    ::unlink(m_path.c_str());
  }
  bool Listening() const { return m_listening; }
  int Connections() const { return m_connections.load(); }

 private:
  std::string m_path;
  int m_fd = -1;
  bool m_listening = false;
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_connections{0};
  std::thread m_thread;
};

// A frame of sound as the playback thread hands it over: 200 ms, every sample distinct from its
// neighbours so the recording can be lined up with it.
std::vector<int16_t> Frame(int index) {
  std::vector<int16_t> f(1600);
  for (size_t i = 0; i < f.size(); ++i)
    f[i] = int16_t(2000 + ((index * 1600 + int(i)) % 8000));  // 2000..9999, never silent
  return f;
}

// Writes frames at the pace playback does; `between` runs after each write.
template <typename F>
void Play(ISoundSink& sink, int frames, F&& between) {
  auto next = std::chrono::steady_clock::now();
  for (int i = 0; i < frames; ++i) {
    sink.Write(Frame(i));
    between(i);
    next += 200ms;
    std::this_thread::sleep_until(next);
  }
}

size_t Loud(const std::vector<int16_t>& rec, int16_t above) {
  return size_t(std::count_if(rec.begin(), rec.end(), [&](int16_t v) { return v > above; }));
}

class PulseSoundSinkServer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PulseServer::Installed()) GTEST_SKIP() << "pulseaudio, parec or pactl not installed";
    ASSERT_TRUE(m_server.Start()) << "the private sound server did not start";
    m_sink = PulseSoundSink::Create(m_server.Address().c_str());
    ASSERT_NE(m_sink, nullptr);
  }
  PulseServer m_server;
  std::unique_ptr<ISoundSink> m_sink;
};

TEST_F(PulseSoundSinkServer, PlaysTheSamplesUnchangedAndClosesWhenSoundStops) {
  m_server.StartRecording();
  std::vector<double> latencies;
  Play(*m_sink, 5, [&](int i) {
    if (i >= 2) latencies.push_back(double(m_sink->Latency().count()));
  });
  std::this_thread::sleep_for(400ms);
  const auto rec = m_server.StopRecording();

  std::vector<int16_t> written;
  for (int i = 0; i < 5; ++i) {
    const auto f = Frame(i);
    written.insert(written.end(), f.begin(), f.end());
  }
  // Unchanged and in order; gaps of silence are not judged here, a loaded machine may cause them.
  std::vector<int16_t> heard;
  std::copy_if(rec.begin(), rec.end(), std::back_inserter(heard), [](int16_t v) { return v != 0; });
  EXPECT_EQ(heard.size(), written.size());
  EXPECT_TRUE(heard == written) << "the samples heard are not the samples written";

  // The latency is read off the server: the lead-in, the wait for the next frame and the
  // server's buffer; not the fixed first guess, and not nothing.
  for (double ms : latencies) {
    EXPECT_GT(ms, 40);
    EXPECT_LT(ms, 600);
  }
  // Sound stopped flowing: the stream is closed, so nothing wakes an idle player.
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(m_server.SinkInputs(), 0);
  EXPECT_EQ(m_sink->Latency().count(), 0);
  EXPECT_LT(m_sink->LagNowMs(), 0);
}

TEST_F(PulseSoundSinkServer, HoldSilencesWhatIsQueuedAndTheNextWritePlaysAgain) {
  m_server.StartRecording();
  Play(*m_sink, 3, [&](int i) {
    if (i == 2) m_sink->Hold();  // just after the third frame came: most of it is not heard
  });
  EXPECT_EQ(m_server.SinkInputs(), 0);  // the stream is gone at once, not when sound stops
  Play(*m_sink, 2, [](int) {});
  std::this_thread::sleep_for(400ms);
  const auto rec = m_server.StopRecording();
  // The first frame, most of the second and the two after the pause are heard; of the third,
  // which was queued when the pause came, nothing.
  EXPECT_GE(Loud(rec, 1000), 4u * 1600 - 800);
  EXPECT_LE(Loud(rec, 1000), 4u * 1600 + 400);
}

TEST_F(PulseSoundSinkServer, TheVolumeReachesSamplesAlreadyQueued) {
  m_sink->SetGain(0.5f);  // before the stream exists: it opens at this volume
  m_server.StartRecording();
  Play(*m_sink, 4, [&](int i) {
    if (i == 1) m_sink->SetGain(0.0f);  // a mute just after the second frame came
  });
  std::this_thread::sleep_for(400ms);
  const auto rec = m_server.StopRecording();
  // At half volume: nothing louder than half the loudest sample written.
  EXPECT_LE(*std::max_element(rec.begin(), rec.end()), 9999 / 2 + 50);
  // The mute silenced the second frame, queued when it came (the end of the first one too).
  const size_t heard = Loud(rec, 500);
  EXPECT_GE(heard, 600u);
  EXPECT_LE(heard, 1600u + 400);
}

// The server restarts while sound plays (a desktop restarting its sound server, an update of it):
// the sound goes to the new server within a few frames, without the player starting again.
TEST_F(PulseSoundSinkServer, TheSoundComesBackAfterTheServerRestarts) {
  Play(*m_sink, 3, [](int) {});
  EXPECT_EQ(m_server.SinkInputs(), 1);
  m_server.Kill();
  ASSERT_TRUE(m_server.Launch()) << "the second sound server did not start";
  m_server.StartRecording();
  int back = -1;
  Play(*m_sink, 25, [&](int i) {
    if (back < 0 && m_server.SinkInputs() == 1) back = i;
  });
  const auto latency = m_sink->Latency().count();
  std::this_thread::sleep_for(400ms);
  const auto rec = m_server.StopRecording();
  ASSERT_GE(back, 0) << "no stream on the new server after 5 s of sound";
  EXPECT_LE(back, 15);  // one try a second: the second at the latest gets it
  EXPECT_GE(Loud(rec, 1000), 5u * 1600) << "less than a second of sound heard after the return";
  // Measured on the new server again, not stuck at the guess or the old server's figure.
  EXPECT_GT(latency, 40);
  EXPECT_LT(latency, 600);
}

// While the server is away nothing is tried without sound to play (an idle player is not woken),
// and with sound no more than once a second; an attempt the server never answers is given up, so
// a server that hung and then came back is found.
TEST_F(PulseSoundSinkServer, AnAbsentServerIsAskedForOnlyWithSoundAndAtMostOnceASecond) {
  Play(*m_sink, 2, [](int) {});
  m_server.Kill();
  {
    SilentServer hung(m_server.SocketPath());
    ASSERT_TRUE(hung.Listening());
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(hung.Connections(), 0) << "the server was asked for while no sound came";
    const auto start = std::chrono::steady_clock::now();
    Play(*m_sink, 15, [](int) {});
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::this_thread::sleep_for(100ms);  // the last knock is taken
    EXPECT_GE(hung.Connections(), 1);
    EXPECT_LE(hung.Connections(), int(seconds) + 1) << "over " << seconds << " s";
  }
  ASSERT_TRUE(m_server.Launch()) << "the second sound server did not start";
  int back = -1;
  Play(*m_sink, 25, [&](int i) {
    if (back < 0 && m_server.SinkInputs() == 1) back = i;
  });
  EXPECT_GE(back, 0) << "no stream on the server after 5 s of sound";
}

}  // namespace
}  // namespace ov::test
