// Every fault the simulated driver and the files can produce, run against the
// whole program: start-up, the control window, each mixer window, the
// settings dialog and device removal. One row per case: the fault, where it
// strikes, what the program should do. After each case nothing may be left
// (16-bit blocks, control handles, timers, components) and the INI file is
// either as it was or fully written. The table is printed at the end.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "faults/program_session.h"

namespace zentra::testing {
namespace {

using Walk = std::function<void(ProgramSession&)>;
using Expectation = std::function<std::string(ProgramSession&)>;  // empty: as expected

struct FaultCase {
  FaultCase(std::string f, std::string w, std::string e, std::string s, Walk walkWith = nullptr,
            Expectation checkWith = nullptr)
      : fault(std::move(f)), where(std::move(w)), expected(std::move(e)), scenario(std::move(s)),
        walk(std::move(walkWith)), check(std::move(checkWith)) {}
  std::string fault;
  std::string where;
  std::string expected;
  std::string scenario;  // ZentraSim.ini
  Walk walk;             // null: every window opened, used and closed
  Expectation check;     // null: nothing beyond the common checks
  std::string ini;       // Zudovodiv.ini before the run; "" none
  enum class IniKind { Absent, File, ReadOnly, Directory } iniKind = IniKind::Absent;
  std::string configFile;  // bytes of ZentraSimConfig.bin before the run; "" none
  bool haveConfigFile = false;
};

struct Outcome {
  const FaultCase* row;
  bool survived;
  std::string why;
};

std::vector<Outcome>& Outcomes() {
  static std::vector<Outcome> outcomes;
  return outcomes;
}

void WalkAll(ProgramSession& s) { s.WalkEveryWindow(); }

// ---- expectations --------------------------------------------------------

std::string Messages(const ProgramSession& s) {
  std::string out;
  for (const std::string& t : s.boxes) out += (out.empty() ? " (messages: " : " | ") + t;
  return out.empty() ? out : out + ")";
}

Expectation EndsAtStartUp(bool withMessage) {
  return [withMessage](ProgramSession& s) -> std::string {
    if (!s.rig.tray().Calls().empty()) return "the tray icon was added";
    if (withMessage && s.boxes.empty()) return "no message shown";
    if (!withMessage && !s.boxes.empty()) return "a message was shown: " + s.boxes[0];
    return "";
  };
}

Expectation RunsWithAllWindows() {
  return [](ProgramSession& s) -> std::string {
    if (s.rig.tray().Calls().empty()) return "the program did not come to run";
    for (const WindowBox& b : AllWindowBoxes())
      if (s.opened.count(b.className) == 0 && s.unavailable.count(b.className) == 0)
        return std::string(b.className) + " did not open" + Messages(s);
    return "";
  };
}

Expectation RunsWithout(std::set<std::string> closed) {
  return [closed](ProgramSession& s) -> std::string {
    if (s.rig.tray().Calls().empty()) return "the program did not come to run";
    for (const WindowBox& b : AllWindowBoxes()) {
      if (s.unavailable.count(b.className) != 0) continue;
      const bool shouldOpen = closed.count(b.className) == 0;
      if (shouldOpen != (s.opened.count(b.className) != 0))
        return std::string(b.className) + (shouldOpen ? " did not open" : " opened") + Messages(s);
    }
    return "";
  };
}

Expectation RemovedAndWritten() {
  return [](ProgramSession& s) -> std::string {
    if (!Application::Instance().Terminated()) return "the program did not end";
    if (!s.rig.tray().Icons().empty()) return "the tray icon stayed";
    const auto commands = s.rig.ConfigCommandsRun();
    if (commands.empty() || commands.back() != "setconfig")
      return "the removal mark was not written";
    return "";
  };
}

Expectation RunsAtAll() {
  return [](ProgramSession& s) -> std::string {
    return s.rig.tray().Calls().empty() ? "the program did not come to run" : "";
  };
}

// ---- the INI file --------------------------------------------------------

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// Keys a clean run writes, by section (lower case), for the written check.
std::map<std::string, std::set<std::string>> KeysBySection(const std::string& text) {
  std::map<std::string, std::set<std::string>> out;
  std::string section;
  for (const std::string& line : Lines(text)) {
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      for (char& c : section) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      out[section];
    } else if (auto eq = line.find('='); eq != std::string::npos && eq > 0) {
      std::string key = line.substr(0, eq);
      for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      out[section].insert(key);
    }
  }
  return out;
}

const std::map<std::string, std::set<std::string>>& CleanRunKeys();

// Unchanged, or written through: the control window's section holds every
// key a clean run writes, the file ends with a line end, and lines of
// sections the program never writes are all still there.
std::string IniVerdict(const FaultCase& row, ProgramSession& s) {
  const std::filesystem::path path = s.rig.IniPath();
  if (row.iniKind == FaultCase::IniKind::Directory)
    return std::filesystem::is_directory(path) ? "" : "the directory in its place was replaced";
  const bool exists = std::filesystem::exists(path);
  const std::string after = s.ReadIni();
  if (row.iniKind == FaultCase::IniKind::Absent && !exists) return "";
  if (exists && after == row.ini) return "";
  if (!exists) return "the file is gone";
  if (after.empty() || after.back() != '\n') return "the file ends mid-line";
  const auto written = KeysBySection(after);
  const auto& clean = CleanRunKeys();
  auto zentra = written.find("zentra");
  if (zentra == written.end()) return "no [Zentra] section";
  for (const std::string& key : clean.at("zentra"))
    if (zentra->second.count(key) == 0) return "[Zentra] lacks " + key;
  std::string section;
  const std::vector<std::string> afterLines = Lines(after);
  for (const std::string& line : Lines(row.ini)) {
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      for (char& c : section) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      continue;
    }
    if (clean.count(section) != 0 || line.find('=') == std::string::npos) continue;
    if (std::find(afterLines.begin(), afterLines.end(), line) == afterLines.end())
      return "lost the line \"" + line + "\"";
  }
  return "";
}

// ---- one case ------------------------------------------------------------

// Kills the test program when a case does not finish: a hang is a failure
// that names its case, not a CTest timeout.
class Watchdog {
 public:
  explicit Watchdog(std::string name) : name_(std::move(name)), thread_([this] { Watch(); }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    cv_.notify_one();
    thread_.join();
  }

 private:
  void Watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!cv_.wait_for(lock, std::chrono::seconds(20), [this] { return done_; })) {
      std::fprintf(stderr, "HANG in fault case: %s\n", name_.c_str());
      std::abort();
    }
  }
  std::string name_;
  std::mutex mutex_;
  std::condition_variable cv_;
  bool done_ = false;
  std::thread thread_;
};

struct CaseResult {
  std::string why;  // empty: survived
  std::string ini;  // the INI file afterwards
};

CaseResult RunCase(const FaultCase& row, bool judge = true) {
  Watchdog watchdog(row.fault + " / " + row.where);
  std::filesystem::path configPath;
  if (row.haveConfigFile) {
    configPath = ProgramRig::UniqueDirectory();
    std::filesystem::create_directories(configPath);
    configPath /= "ZentraSimConfig.bin";
    std::ofstream(configPath, std::ios::binary) << row.configFile;
  }
  CaseResult result;
  {
    ProgramSession s(row.scenario, configPath.string());
    const std::filesystem::path ini = s.rig.IniPath();
    switch (row.iniKind) {
      case FaultCase::IniKind::Absent:
        break;
      case FaultCase::IniKind::File:
      case FaultCase::IniKind::ReadOnly:
        std::ofstream(ini, std::ios::binary) << row.ini;
        if (row.iniKind == FaultCase::IniKind::ReadOnly) ::chmod(ini.c_str(), 0444);
        break;
      case FaultCase::IniKind::Directory:
        std::filesystem::create_directories(ini);
        break;
    }
    s.Run(row.walk ? row.walk : Walk(WalkAll));
    std::vector<std::string> problems;
    if (!judge) return {"", s.ReadIni()};
    if (row.check)
      if (std::string why = row.check(s); !why.empty()) problems.push_back(why);
    const Leftovers left = s.Collect();
    if (!left.None()) problems.push_back("left behind: " + left.Describe());
    if (std::string why = IniVerdict(row, s); !why.empty()) problems.push_back("INI: " + why);
    for (const std::string& p : problems) result.why += (result.why.empty() ? "" : "; ") + p;
    result.ini = s.ReadIni();
    ::chmod(ini.c_str(), 0644);
  }
  if (!configPath.empty()) std::filesystem::remove_all(configPath.parent_path());
  return result;
}

const std::map<std::string, std::set<std::string>>& CleanRunKeys() {
  static const auto keys = [] {
    FaultCase clean{"", "", "", CardsScenario(2)};
    return KeysBySection(RunCase(clean, false).ini);
  }();
  return keys;
}

// ---- the table -----------------------------------------------------------

// Error ids of the driver's error table that start-up may meet.
const int kErrorIds[] = {-1,  -2,  -3,  -4,  -5,  -6,  -7,  -8,  -17, -18, -19, -20, -21, -22, -23,
                         -24, -25, -26, -27, -28, -29, -30, -31, -49, -51, -52, -53, -54, -55, -56};

const char* const kDevices[] = {"AnalogIn", "AnalogOut", "DigitalIn", "DigitalOut", "AdatIn1",
                                "AdatOut4"};
// The window that shows a device.
const char* WindowOfDevice(const std::string& device) {
  if (device == "AnalogIn") return "TfrmAnalogInp";
  if (device == "AnalogOut") return "TfrmAnalogOut";
  if (device == "DigitalIn") return "TfrmDigInp";
  if (device == "DigitalOut") return "TfrmDigOut";
  if (device.rfind("AdatIn", 0) == 0) return "TfrmAdatInp";
  return "TfrmAdatOut";
}

std::vector<FaultCase> DriverStateCases() {
  std::vector<FaultCase> rows;
  for (int id : kErrorIds) {
    const std::string n = std::to_string(id);
    // -17 (driver not loaded) ends silently; every other id is reported.
    rows.push_back({"DriverState " + n, "start-up", id == -17 ? "ends silently" : "reported, ends",
                    "[Driver]\nState=" + n + "\n" + CardsScenario(2), nullptr,
                    EndsAtStartUp(id != -17)});
    for (int card = 1; card <= 4; ++card) {
      std::string states;
      for (int k = 1; k <= 4; ++k) states += (k > 1 ? "," : "") + (k == card ? n : "1");
      rows.push_back({"card " + std::to_string(card) + " state " + n, "start-up, every window",
                      "reported, program runs", CardsScenario(4, "States=" + states + "\n"), nullptr,
                      RunsAtAll()});
    }
  }
  return rows;
}

std::vector<FaultCase> CommandCases() {
  std::vector<FaultCase> rows;
  rows.push_back({"launch failure", "start-up", "reported, ends",
                  "[Driver]\nLaunchFails=1\n" + CardsScenario(2), nullptr, EndsAtStartUp(true)});
  rows.push_back({"every command never completes", "start-up", "reported, ends",
                  "[Driver]\nCommandNeverCompletes=1\n" + CardsScenario(2), nullptr,
                  EndsAtStartUp(true)});
  rows.push_back({"getstates never completes", "start-up", "reported, ends",
                  "[Driver]\nCommandsNeverComplete=getstates\n" + CardsScenario(2), nullptr,
                  EndsAtStartUp(true)});
  for (const char* command : {"getconfig", "setconfig", "setconfig_onthefly", "reconfigurable"}) {
    rows.push_back({std::string(command) + " never completes", "settings dialog, removal",
                    "given up after the bound, program runs",
                    std::string("[Driver]\nCommandsNeverComplete=") + command + "\n" + CardsScenario(2),
                    [](ProgramSession& s) {
                      s.WalkEveryWindow(300);
                      s.QueryRemoval(0);
                    },
                    nullptr});
  }
  rows.push_back({"every command late (after the bound)", "start-up", "reported, ends",
                  "[Driver]\nCommandDelayMs=400\n" + CardsScenario(2), nullptr, EndsAtStartUp(true)});
  return rows;
}

std::vector<FaultCase> AllocationCases(std::uint64_t allocations) {
  std::vector<FaultCase> rows;
  for (std::uint64_t n = 1; n <= allocations; ++n)
    rows.push_back({"allocation " + std::to_string(n) + " refused", "whole walk",
                    "that step fails cleanly",
                    "[Driver]\nFailAllocation=" + std::to_string(n) + "\n" + CardsScenario(2),
                    [](ProgramSession& s) {
                      s.WalkEveryWindow(300);
                      s.QueryRemoval(1);
                    },
                    nullptr});
  return rows;
}

std::vector<FaultCase> DeviceCases() {
  std::vector<FaultCase> rows;
  for (const char* device : kDevices) {
    const std::string d = device;
    const char* window = WindowOfDevice(d);
    rows.push_back({"device missing: " + d, window, "its window does not open",
                    CardsScenario(2, "[Card2]\nMissingDevices=" + d + "\n"), nullptr,
                    RunsAtAll()});
    // Both output windows open both output devices of each card (each
    // shows the other as a source).
    std::set<std::string> closed = {window};
    if (d == "AnalogOut" || d == "DigitalOut") closed = {"TfrmAnalogOut", "TfrmDigOut"};
    rows.push_back({"control open refused: " + d, window, "the windows using it do not open",
                    CardsScenario(2, "[Card2]\nRefuseOpen=" + d + "\n"), nullptr,
                    RunsWithout(closed)});
    rows.push_back({"meter start refused: " + d, window, "window opens",
                    CardsScenario(2, "[Card2]\nRefuseMeterStart=" + d + "\n"), nullptr, RunsAtAll()});
    rows.push_back({"level request refused: " + d, window, "window opens, meters stay",
                    CardsScenario(2, "[Card1]\nRefusePeaks=" + d + "\n"), nullptr,
                    RunsWithAllWindows()});
  }
  rows.push_back({"every source change refused", "output windows", "refusal shown, no change",
                  CardsScenario(2, "[Card1]\nRefuseSourceChange=1\n[Card2]\nRefuseSourceChange=1\n"),
                  nullptr, RunsWithAllWindows()});
  rows.push_back({"ADAT in use elsewhere", "output windows", "refusal shown",
                  CardsScenario(2, "[Card1]\nAdatInUse=1\n"), nullptr, RunsWithAllWindows()});
  rows.push_back({"digital in use elsewhere", "analog output", "refusal shown",
                  CardsScenario(2, "[Card1]\nDigitalInUse=1\n"), nullptr, RunsWithAllWindows()});
  rows.push_back({"another program playing", "analog output", "refusal shown",
                  CardsScenario(2, "[Card1]\nOtherAppPlaying=2\n"), nullptr, RunsWithAllWindows()});
  rows.push_back({"rate request refused", "digital windows", "windows open, rate unknown",
                  CardsScenario(2, "[Card1]\nRefuseInputRate=1\n[Card2]\nRefuseInputRate=1\n"),
                  nullptr, RunsWithAllWindows()});
  rows.push_back({"no lock, rate steps", "digital windows", "windows open",
                  CardsScenario(2, "[Card1]\nInputRate=0\nInputRateSteps=200:48000,500:0\n"),
                  nullptr, RunsWithAllWindows()});
  rows.push_back({"no cards", "every window", "nothing opens",
                  CardsScenario(0), nullptr, RunsAtAll()});
  return rows;
}

std::vector<FaultCase> RemovalCases() {
  std::vector<FaultCase> rows;
  for (const WindowBox& b : AllWindowBoxes()) {
    const WindowBox* entry = &b;
    rows.push_back({"card removal", std::string("while ") + b.className + " is open",
                    "mark written, program ends", CardsScenario(2),
                    [entry](ProgramSession& s) {
                      s.ShowControl();
                      s.Set(*entry, true);
                      s.Advance(300);
                      s.QueryRemoval(1);
                    },
                    RemovedAndWritten()});
  }
  // While a configuration command waits: the question arrives during the
  // bounded wait and is handled once the program takes messages again.
  rows.push_back({"card removal", "while getconfig waits", "mark written, program ends",
                  "[Driver]\nCommandDelayMs=30\n" + CardsScenario(2),
                  [](ProgramSession& s) {
                    static DevBroadcastDevnode record;
                    record = {sizeof(DevBroadcastDevnode), DBT_DEVTYP_DEVNODE, 0,
                              static_cast<std::uint32_t>(CardDevnodeTable[0])};
                    const WinHandle main = Windows().frmMain->Handle();
                    bool posted = false;
                    s.rig.kernel().SetSleepHook([&](std::uint32_t) {
                      if (posted) return;
                      posted = true;
                      PostMessageToWindow(main, WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE,
                                          reinterpret_cast<std::intptr_t>(&record));
                    });
                    s.ShowControl();
                    s.Set(AllWindowBoxes().back(), true);
                    Application::Instance().ProcessMessages();
                    s.rig.kernel().SetSleepHook(nullptr);
                  },
                  RemovedAndWritten()});
  rows.push_back({"card removal", "while a stacked next dialog is open",
                  "mark written, program ends", CardsScenario(3),
                  [](ProgramSession& s) {
                    s.rig.backend().SetModalHandler([&s](TForm& form) {
                      auto* d = dynamic_cast<TdlgCfg*>(&form);
                      if (d != nullptr && d->CardIndex() < 2 && d->btnNext->Enabled()) {
                        s.ui.Click(*d->btnNext);
                        return;
                      }
                      s.QueryRemoval(2);
                      if (d != nullptr && s.rig.backend().ModalLog().size() < 8 &&
                          !Application::Instance().Terminated())
                        s.ui.Click(*d->btnCancel);
                    });
                    s.ShowControl();
                    s.Set(AllWindowBoxes().back(), true);
                    auto* d = dynamic_cast<TdlgCfg*>(s.WindowOf(AllWindowBoxes().back()));
                    if (d != nullptr) s.ui.Click(*d->btnNext);
                    Application::Instance().ProcessMessages();
                  },
                  RemovedAndWritten()});
  rows.push_back({"card removal", "while a mixer window is being shown",
                  "mark written, program ends", CardsScenario(2),
                  [](ProgramSession& s) {
                    s.ShowControl();
                    // The question is queued behind the box click: it is
                    // handled while the window comes up.
                    DevBroadcastDevnode record{sizeof(DevBroadcastDevnode), DBT_DEVTYP_DEVNODE, 0,
                                               static_cast<std::uint32_t>(CardDevnodeTable[1])};
                    PostMessageToWindow(Windows().frmMain->Handle(), WM_DEVICECHANGE,
                                        DBT_DEVICEQUERYREMOVE,
                                        reinterpret_cast<std::intptr_t>(&record));
                    s.Set(AllWindowBoxes()[1], true);
                    Application::Instance().ProcessMessages();
                  },
                  RemovedAndWritten()});
  rows.push_back({"card removal from the scenario", "while every window is walked",
                  "program ends", "[Driver]\nRemoveCard=1\nRemoveCardAfterMs=400\n" + CardsScenario(2),
                  nullptr, nullptr});
  return rows;
}

std::vector<FaultCase> FileCases() {
  std::vector<FaultCase> rows;
  auto iniRow = [&rows](const std::string& fault, const std::string& text,
                        FaultCase::IniKind kind = FaultCase::IniKind::File) {
    FaultCase row{"Zudovodiv.ini " + fault, "every window", "defaults, file written",
                  CardsScenario(2), nullptr, RunsWithAllWindows()};
    row.ini = text;
    row.iniKind = kind;
    rows.push_back(row);
  };
  std::string every;
  for (const char* section : {"Zentra", "Analog Input", "Analog Output", "Digital Input",
                              "Digital Output", "ADAT Input", "ADAT Output", "Einstellungen"})
    every += std::string("[") + section +
             "]\nLeft=abc\nTop=-99999999999999999999\nWidth=4294967296\nHeight=\n"
             "Visible=2\nchkRouting=x\nState=99999\n";
  iniRow("with values that do not parse and huge numbers", every + "[Keep]\nmine=1\n");
  iniRow("with sections repeated", "[Zentra]\nLeft=10\n[Zentra]\nLeft=20\n[Analog Input]\n"
                                   "Width=300\n[Analog Input]\nWidth=400\n[Keep]\nmine=1\n");
  iniRow("with keys without values", "[Zentra]\nLeft\nTop=\n=5\n[Analog Input]\nWidth\n"
                                     "[Keep]\nmine=1\n");
  iniRow("with binary garbage", std::string("\xff\xfe[Zen\0tra]\n\x01\x02=\x03\n[Keep]\nmine=1\n",
                                            31));
  iniRow("truncated mid-line", "[Zentra]\nLeft=100\nTop=1");
  iniRow("read-only", "[Zentra]\nLeft=100\n[Keep]\nmine=1\n", FaultCase::IniKind::ReadOnly);
  iniRow("a directory in its place", "", FaultCase::IniKind::Directory);
  iniRow("absent", "", FaultCase::IniKind::Absent);
  rows.push_back({"damaged scenario file", "start-up, every window", "problems reported, defaults",
                  "[Driver\nState=abc\n[Cards]\nCount=99\nStates=x,y,z,w,v\n=\n[Card1]\n"
                  "MissingDevices=Nothing\nDeviceNames=AnalogIn=\"unterminated\n\x01\x02\xff\n",
                  nullptr, RunsAtAll()});
  for (const auto& [fault, bytes] : std::vector<std::pair<std::string, std::string>>{
           {"short", "ZSIMCFG1abc"},
           {"wrong magic", std::string("ZSIMCFG2") + std::string(884, '\0')},
           {"bad checksum", std::string("ZSIMCFG1") + std::string(884, '\x7f')}}) {
    FaultCase row{"driver configuration file " + fault, "settings dialog",
                  "defaults, damaged copy kept", CardsScenario(2), nullptr, RunsWithAllWindows()};
    row.configFile = bytes;
    row.haveConfigFile = true;
    rows.push_back(row);
  }
  return rows;
}

// How many 16-bit allocations the walk of the allocation rows makes on a
// healthy driver.
std::uint64_t AllocationsOfAWalk() {
  ProgramSession s(CardsScenario(2));
  s.Run([](ProgramSession& p) {
    p.WalkEveryWindow(300);
    p.QueryRemoval(1);
  });
  const std::uint64_t n = s.rig.driver().arena().AllocationCount();
  s.Collect();
  return n;
}

class FaultMatrix : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    savedTimeout_ = ConfigCommandTimeout();
    SetConfigCommandTimeout(std::chrono::milliseconds(100));
    RegisterBilingualClasses();
    CleanRunKeys();  // one program at a time: the clean run goes first
  }
  static void TearDownTestSuite() {
    SetConfigCommandTimeout(savedTimeout_);
    PrintTable();
  }

  static void RunRows(const std::vector<FaultCase>& rows) {
    static std::vector<std::unique_ptr<FaultCase>> kept;  // the table refers to them
    for (const FaultCase& row : rows) {
      kept.push_back(std::make_unique<FaultCase>(row));
      const CaseResult r = RunCase(*kept.back());
      Outcomes().push_back({kept.back().get(), r.why.empty(), r.why});
      Application::Instance().ResetTerminated();
      EXPECT_TRUE(r.why.empty()) << row.fault << " / " << row.where << ": " << r.why;
    }
  }

  static void PrintTable() {
    std::printf("\n%-50s | %-38s | %-38s | survived\n", "fault", "where", "expected");
    std::printf("%s\n", std::string(144, '-').c_str());
    int survived = 0;
    for (const Outcome& o : Outcomes()) {
      survived += o.survived;
      std::printf("%-50s | %-38s | %-38s | %s\n", o.row->fault.c_str(), o.row->where.c_str(),
                  o.row->expected.c_str(), o.survived ? "yes" : ("NO: " + o.why).c_str());
    }
    std::printf("%d of %zu cases survived\n", survived, Outcomes().size());
  }

  static std::chrono::milliseconds savedTimeout_;
};
std::chrono::milliseconds FaultMatrix::savedTimeout_{0};

TEST_F(FaultMatrix, DriverAndCardStates) { RunRows(DriverStateCases()); }
TEST_F(FaultMatrix, LaunchAndCommands) { RunRows(CommandCases()); }
TEST_F(FaultMatrix, EveryAllocationRefusedInTurn) {
  const std::uint64_t n = AllocationsOfAWalk();
  ASSERT_GT(n, 10u) << "the walk allocates too little to be a walk";
  RunRows(AllocationCases(n));
}
TEST_F(FaultMatrix, Devices) { RunRows(DeviceCases()); }
TEST_F(FaultMatrix, DeviceRemovalAtEveryMoment) { RunRows(RemovalCases()); }
TEST_F(FaultMatrix, Files) { RunRows(FileCases()); }

}  // namespace
}  // namespace zentra::testing
