#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "support/headless_ui.h"
#include "toolkit/class_registry.h"
#include "toolkit/loader.h"
#include "toolkit/std_controls.h"

namespace zentra {
namespace {

using testing::HeadlessUi;
using testing::Owned;

// A window with a few named handlers and one bound field.
class TTestWindow : public TForm {
 public:
  explicit TTestWindow(Component* owner) : TForm(owner) {
    BindHandler("FormCreate", &TTestWindow::FormCreate);
    BindHandler("chkOneClick", &TTestWindow::chkOneClick);
    BindHandler("FormClose", &TTestWindow::FormClose);
  }
  const char* ClassName() const override { return "TTestWindow"; }
  void FormCreate(Component*) { log.push_back("create"); }
  void chkOneClick(Component* sender) { log.push_back("click " + sender->Name()); }
  void FormClose(Component*, CloseAction&) {}
  std::vector<std::string> log;
};

class LoaderTest : public ::testing::Test {
 protected:
  Owned<TTestWindow> Load(const std::string& text) {
    Owned<TTestWindow> w(new TTestWindow(nullptr));
    LoadWindowDescriptionText(*w, "test.wnd", text);
    return w;
  }
  // The error a description raises, as "file(line): message".
  std::string ErrorOf(const std::string& text) {
    try {
      Load(text);
    } catch (const DescriptionError& e) {
      return e.what();
    }
    return "no error";
  }
  HeadlessUi ui;
};

TEST_F(LoaderTest, BuildsTheTreeWithPropertiesEventsSetsAndLists) {
  auto w = Load(R"(object Win: TTestWindow
  Caption = 'Zentra ''Info'''
  ClientWidth = 300
  OnCreate = FormCreate
  object Panel1: TPanel
    Align = alTop
    Height = 50
    BevelInner = bvRaised
    Tag = -1
    object chkOne: TCheckBox
      Left = 8
      Top = $10
      Caption = 'Eins' + ' & zwei'
      Font.Name = 'Arial'
      Font.Style = [fsBold, fsItalic]
      Font.Color = clNavy
      OnClick = chkOneClick
    end
  end
  // a comment
  object boxDevices: TComboBox
    Items.Strings = (
      'Kein Gerät verfügbar'
      'Analog Playback ')
    ItemIndex = 1
  end
  object Timer1: TTimer
    Interval = 100
    Enabled = False
  end
end
)");
  EXPECT_EQ(w->Name(), "Win");
  EXPECT_EQ(w->Caption(), "Zentra 'Info'");
  EXPECT_EQ(w->ClientWidth(), 300);
  auto* panel = dynamic_cast<TPanel*>(w->FindComponent("Panel1"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->Parent(), w.get());
  EXPECT_EQ(panel->Tag(), -1);
  EXPECT_EQ(panel->Width(), 300) << "aligned once loading ended";
  auto* chk = dynamic_cast<TCheckBox*>(w->FindComponent("chkOne"));
  ASSERT_NE(chk, nullptr);
  EXPECT_EQ(chk->Parent(), panel);
  EXPECT_EQ(chk->Top(), 16);
  EXPECT_EQ(chk->Caption(), "Eins & zwei");
  EXPECT_TRUE(chk->GetFont().bold && chk->GetFont().italic && !chk->GetFont().underline);
  EXPECT_EQ(chk->GetFont().color, clNavy);
  auto* combo = dynamic_cast<TComboBox*>(w->FindComponent("boxDevices"));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->Items(), (std::vector<std::string>{"Kein Gerät verfügbar", "Analog Playback "}));
  EXPECT_EQ(combo->ItemIndex(), 1);
  auto* timer = dynamic_cast<TTimer*>(w->FindComponent("Timer1"));
  ASSERT_NE(timer, nullptr);
  EXPECT_FALSE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 100u);
  EXPECT_TRUE(w->log.empty()) << "OnCreate runs from CreateFromDescription, not the loader";
  chk->SetChecked(true);
  EXPECT_EQ(w->log, (std::vector<std::string>{"click chkOne"}));
}

TEST_F(LoaderTest, NoEventRunsWhileLoadingAndLoadedComesAfterTheWholeWindow) {
  auto w = Load(R"(object Win: TTestWindow
  object chkOne: TCheckBox
    OnClick = chkOneClick
    Checked = True
  end
  object pages: TPageControl
    ActivePage = tabTwo
    object tabOne: TTabSheet
    end
    object tabTwo: TTabSheet
    end
  end
end
)");
  auto* chk = dynamic_cast<TCheckBox*>(w->FindComponent("chkOne"));
  EXPECT_TRUE(chk->Checked());
  EXPECT_TRUE(w->log.empty());
  EXPECT_FALSE(chk->Loading());
  EXPECT_FALSE(w->Loading());
  auto* pages = dynamic_cast<TPageControl*>(w->FindComponent("pages"));
  EXPECT_EQ(pages->ActivePage()->Name(), "tabTwo") << "a reference to a later component";
}

TEST_F(LoaderTest, PropertiesApplyInTheOrderWritten) {
  auto w = Load(R"(object Win: TTestWindow
  object bar: TTrackBar
    Max = 100
    Position = 50
    Max = 20
  end
end
)");
  auto* bar = dynamic_cast<TTrackBar*>(w->FindComponent("bar"));
  EXPECT_EQ(bar->Position(), 20);

  // Many properties, most of the same rank: still the order written.
  std::string many = "object Win: TTestWindow\n  object bar: TTrackBar\n    Position = 50\n";
  for (int i = 0; i < 60; ++i) many += "    Max = " + std::to_string(100 - i) + "\n";
  many += "    Max = 30\n  end\nend\n";
  auto big = Load(many);
  auto* many_bar = dynamic_cast<TTrackBar*>(big->FindComponent("bar"));
  EXPECT_EQ(many_bar->Max(), 30);
  EXPECT_EQ(many_bar->Position(), 30);
}

TEST_F(LoaderTest, FaultsNameTheFileAndTheLine) {
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n  object x: TNoSuchClass\n  end\nend\n"),
            "test.wnd(2): unknown class TNoSuchClass");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n\n  Colour = 5\nend\n"),
            "test.wnd(3): unknown property Colour of TForm");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n  OnCreate = NoSuchHandler\nend\n"),
            "test.wnd(2): OnCreate: unknown handler NoSuchHandler");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n  OnCreate = FormClose\nend\n"),
            "test.wnd(2): OnCreate: handler FormClose does not fit this event");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n  Left = 'ten'\nend\n"),
            "test.wnd(2): Left: expected an integer, found the string 'ten'");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n  object p: TPanel\n    Align = alMiddle\n  end\nend\n"),
            "test.wnd(3): Align: unknown value alMiddle (expected one of alNone, alTop, alBottom, "
            "alLeft, alRight, alClient)");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n  Caption = 'open\nend\n"),
            "test.wnd(2): unterminated string");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n  Left =\nend\n"), "test.wnd(3): missing value");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n  Left = 12x\nend\n"), "test.wnd(2): malformed number");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n  Font.Style = [fsBold, fsWide]\nend\n"),
            "test.wnd(2): Font.Style: unknown set member fsWide");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n  object a: TPanel\n  end\n  object a: TPanel\n  end\nend\n"),
            "test.wnd(4): duplicate component name a");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n  object a: TLabel\n    object b: TLabel\n    end\n  end\nend\n"),
            "test.wnd(3): b cannot be placed in a");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n  object a: TPanel\n  end\n  Left = 1\nend\n"),
            "test.wnd(4): property after a nested object; write properties first");
  EXPECT_EQ(ErrorOf("object Win: TOtherWindow\nend\n"),
            "test.wnd(1): the window is a TTestWindow, not a TOtherWindow");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n  object a: TPanel\n  end\n"),
            "test.wnd(4): missing 'end' of Win");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n  object p: TPageControl\n    ActivePage = nowhere\n  end\nend\n"),
            "test.wnd(3): unknown component nowhere");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\nend\nend\n"), "test.wnd(3): text after the final 'end'");
  EXPECT_EQ(ErrorOf("object Win: TTestWindow\n  Tag = 99999999999\nend\n"),
            "test.wnd(2): Tag: integer out of range: 99999999999");
}

TEST_F(LoaderTest, FieldsAreBoundByNameAndClassAndMissingOnesAreFaults) {
  struct TFielded : public TForm {
    explicit TFielded(Component* o) : TForm(o) { BindField("lbOne", lbOne); }
    const char* ClassName() const override { return "TFielded"; }
    TLabel* lbOne = nullptr;
  };
  Owned<TFielded> good(new TFielded(nullptr));
  LoadWindowDescriptionText(*good, "f.wnd", "object F: TFielded\n  object lbOne: TLabel\n  end\nend\n");
  EXPECT_EQ(good->lbOne, good->FindComponent("lbOne"));

  Owned<TFielded> missing(new TFielded(nullptr));
  EXPECT_THROW(LoadWindowDescriptionText(*missing, "f.wnd", "object F: TFielded\nend\n"), DescriptionError);
  Owned<TFielded> wrong(new TFielded(nullptr));
  try {
    LoadWindowDescriptionText(*wrong, "f.wnd", "object F: TFielded\n  object lbOne: TButton\n  end\nend\n");
    FAIL() << "a button cannot fill a label field";
  } catch (const DescriptionError& e) {
    EXPECT_EQ(e.Line(), 2);
    EXPECT_EQ(e.File(), "f.wnd");
  }
}

TEST_F(LoaderTest, UnknownEmbeddedDescriptionIsAFault) {
  Owned<TTestWindow> w(new TTestWindow(nullptr));
  EXPECT_THROW(w->CreateFromDescription("no_such_window.wnd"), DescriptionError);
}

TEST_F(LoaderTest, ParametersFillInOneDescriptionForSeveralWindows) {
  const std::string text =
      "object w: ${Class}\n"
      "  Caption = '${Caption} (${Caption})'\n"
      "  object ${Panel}: TPanel\n"
      "    Width = ${Width}\n"
      "  end\n"
      "end\n";
  const std::string expanded = ExpandDescriptionParameters(
      "p.wnd", text, {{"Class", "TTestWindow"}, {"Caption", "A"}, {"Panel", "grpOne"}, {"Width", "310"}});
  Owned<TTestWindow> w = Load(expanded);
  EXPECT_EQ(w->Caption(), "A (A)");
  auto* panel = dynamic_cast<TPanel*>(w->FindComponent("grpOne"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->Width(), 310);
  // Text without parameters passes unchanged.
  EXPECT_EQ(ExpandDescriptionParameters("p.wnd", "a $1 {b}\n", {}), "a $1 {b}\n");

  // A parameter without a value, or one left open, names its line.
  try {
    ExpandDescriptionParameters("p.wnd", "object w: TForm\n\n  Width = ${Wide}\nend\n", {{"Width", "1"}});
    ADD_FAILURE() << "no error";
  } catch (const DescriptionError& e) {
    EXPECT_EQ(e.Line(), 3);
    EXPECT_NE(std::string(e.what()).find("${Wide}"), std::string::npos) << e.what();
  }
  try {
    ExpandDescriptionParameters("p.wnd", "x\nCaption = '${Caption'\n}\n", {{"Caption", "c"}});
    ADD_FAILURE() << "no error";
  } catch (const DescriptionError& e) {
    EXPECT_EQ(e.Line(), 2);
  }
}

// Descriptions to include, standing in for the embedded ones.
const std::map<std::string, std::string> kIncluded = {
    {"pair.wnd",
     "object ${First}: TLabel\n"
     "  Caption = '${Caption}'\n"
     "end\n"
     "include 'inner.wnd'\n"
     "  Name = ${Second}\n"
     "end\n"},
    {"inner.wnd", "object ${Name}: TPanel\n  Width = 7\nend\n"},
    {"bad_property.wnd", "\nobject lbBad: TLabel\n  Colour = clRed\nend\n"},
    {"loop_a.wnd", "include 'loop_b.wnd'\nend\n"},
    {"loop_b.wnd", "\ninclude 'loop_a.wnd'\nend\n"},
};

std::optional<std::string> IncludedText(const std::string& name) {
  const auto found = kIncluded.find(name);
  if (found == kIncluded.end()) return std::nullopt;
  return found->second;
}

TEST_F(LoaderTest, AnIncludeIsReplacedInPlaceByTheObjectsOfTheIncludedDescription) {
  Owned<TTestWindow> w(new TTestWindow(nullptr));
  LoadWindowDescriptionText(*w, "win.wnd",
                            "object Win: TTestWindow\n"
                            "  object pnHost: TPanel\n"
                            "    object lbBefore: TLabel\n"
                            "    end\n"
                            "    include 'pair.wnd'\n"
                            "      First = lbFirst\n"
                            "      Caption = 'it''s -5 dB'\n"
                            "      Second = pnSecond\n"
                            "    end\n"
                            "    object lbAfter: TLabel\n"
                            "    end\n"
                            "  end\n"
                            "end\n",
                            IncludedText);
  auto* host = dynamic_cast<TPanel*>(w->FindComponent("pnHost"));
  ASSERT_NE(host, nullptr);
  std::vector<std::string> children;
  for (const Control* child : host->Children()) children.push_back(child->Name());
  EXPECT_EQ(children, (std::vector<std::string>{"lbBefore", "lbFirst", "pnSecond", "lbAfter"}));
  EXPECT_EQ(dynamic_cast<TLabel*>(w->FindComponent("lbFirst"))->Caption(), "it's -5 dB");
  EXPECT_EQ(dynamic_cast<TPanel*>(w->FindComponent("pnSecond"))->Width(), 7);
}

TEST_F(LoaderTest, IncludeFaultsNameTheFileAndLineTheyAreWrittenIn) {
  const std::string head = "object Win: TTestWindow\n";
  const struct {
    std::string body;
    std::string error;
  } cases[] = {
      {"  include 'absent.wnd'\n  end\nend\n", "win.wnd(2): included description absent.wnd not found"},
      {"\n  include 'win.wnd'\n  end\nend\n", "win.wnd(3): recursive include of win.wnd (win.wnd -> win.wnd)"},
      {"  include 'loop_a.wnd'\n  end\nend\n",
       "loop_b.wnd(2): recursive include of loop_a.wnd (win.wnd -> loop_a.wnd -> loop_b.wnd -> loop_a.wnd)"},
      {"  include 'inner.wnd'\n  end\nend\n", "inner.wnd(1): no value for the parameter ${Name}"},
      {"  include 'inner.wnd'\n    Name = pn\n    Nmae = pn\n  end\nend\n", "win.wnd(4): inner.wnd has no parameter Nmae"},
      {"  include 'inner.wnd'\n    Name = a\n    Name = b\n  end\nend\n",
       "win.wnd(4): the parameter Name is given twice"},
      {"  include 'inner.wnd'\n    Name =\n  end\nend\n", "win.wnd(3): missing value of the parameter Name"},
      {"  include 'inner.wnd'\n    Name = pn\n", "win.wnd(4): missing 'end' of the include of inner.wnd"},
      {"  include inner.wnd\n  end\nend\n", "win.wnd(2): expected the included file name ('meter.wnd')"},
      {"  include 'bad_property.wnd'\n  end\nend\n", "bad_property.wnd(3): unknown property Colour of TLabel"},
      {"  include 'inner.wnd'\n    Name = pn\n  end\n  Caption = 'x'\nend\n",
       "win.wnd(5): property after a nested object; write properties first"},
  };
  for (const auto& c : cases) {
    Owned<TTestWindow> w(new TTestWindow(nullptr));
    std::string error = "no error";
    try {
      LoadWindowDescriptionText(*w, "win.wnd", head + c.body, IncludedText);
    } catch (const DescriptionError& e) {
      error = e.what();
    }
    EXPECT_EQ(error, c.error) << c.body;
  }
}

TEST_F(LoaderTest, DerivedTablesInheritAndRedeclaredPropertiesMoveToTheEnd) {
  ClassRegistry& r = ClassRegistry::Instance();
  const ClassInfo* label = r.Find("TLabel");
  ASSERT_NE(label, nullptr);
  auto names = label->PropertyNames();
  auto pos = [&](const std::string& n) { return std::find(names.begin(), names.end(), n) - names.begin(); };
  EXPECT_LT(pos("Caption"), pos("Alignment"));
  EXPECT_LT(pos("Tag"), pos("Left"));
  EXPECT_TRUE(label->InheritsFrom("TControl"));
  EXPECT_EQ(r.Find("TControl")->FindProperty("Alignment"), nullptr);
  EXPECT_THROW(r.Register<TLabel>("TLabel", "TControl"), std::logic_error);

  // The rank the loader sorts by follows the same order, redeclarations
  // included, for every standard class.
  for (const char* name : {"TLabel", "TPanel", "TForm", "TButton", "TCheckBox", "TRadioButton",
                           "TEdit", "TComboBox", "TGroupBox", "TPageControl", "TTrackBar"}) {
    const ClassInfo* info = r.Find(name);
    ASSERT_NE(info, nullptr) << name;
    long previous = -1;
    for (const std::string& property : info->PropertyNames()) {
      const ClassInfo::RankedProperty found = info->FindRankedProperty(property);
      EXPECT_EQ(found.def, info->FindProperty(property)) << name << "." << property;
      EXPECT_GT(found.rank, previous) << name << "." << property;
      previous = found.rank;
    }
  }
}

}  // namespace
}  // namespace zentra
