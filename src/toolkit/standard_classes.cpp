// Property tables of the toolkit's standard classes. The order of each table
// is the order a description should write the properties in.
#include "toolkit/bitmap_registry.h"
#include "toolkit/class_registry.h"
#include "toolkit/std_controls.h"

namespace zentra {
namespace {

using V = const PropertyValue&;
using Ctx = LoadContext&;

Align ToAlign(V v) {
  return AsEnum<Align>(v, {{"alNone", Align::None},
                           {"alTop", Align::Top},
                           {"alBottom", Align::Bottom},
                           {"alLeft", Align::Left},
                           {"alRight", Align::Right},
                           {"alClient", Align::Client}});
}

Alignment ToAlignment(V v) {
  return AsEnum<Alignment>(v, {{"taLeftJustify", Alignment::LeftJustify},
                               {"taRightJustify", Alignment::RightJustify},
                               {"taCenter", Alignment::Center}});
}

BevelCut ToBevelCut(V v) {
  return AsEnum<BevelCut>(v, {{"bvNone", BevelCut::None},
                              {"bvLowered", BevelCut::Lowered},
                              {"bvRaised", BevelCut::Raised},
                              {"bvSpace", BevelCut::Space}});
}

Cursor ToCursor(V v) {
  return AsEnum<Cursor>(v, {{"crDefault", Cursor::Default},
                            {"crArrow", Cursor::Arrow},
                            {"crHandPoint", Cursor::HandPoint},
                            {"crSizeWE", Cursor::SizeWE},
                            {"crSizeNS", Cursor::SizeNS},
                            {"crIBeam", Cursor::IBeam},
                            {"crCross", Cursor::Cross}});
}

ModalResult ToModalResult(V v) {
  if (v.kind == PropertyValue::Kind::Integer) return AsInt(v);
  return AsEnum<ModalResult>(v, {{"mrNone", mrNone}, {"mrOk", mrOk}, {"mrCancel", mrCancel}});
}

template <class T>
void FontProperties(ClassInfo& info) {
  info.Property<T>("Font.Name", [](T& c, V v) {
        Font f = c.GetFont();
        f.name = AsString(v);
        c.SetFont(f);
      })
      .template Property<T>("Font.Height", [](T& c, V v) {
        Font f = c.GetFont();
        // Negative heights (character height) and positive ones mean the same here.
        int h = AsInt(v);
        f.height = h < 0 ? -h : h;
        c.SetFont(f);
      })
      .template Property<T>("Font.Color", [](T& c, V v) {
        Font f = c.GetFont();
        f.color = AsColor(v);
        c.SetFont(f);
      })
      .template Property<T>("Font.Style", [](T& c, V v) {
        Font f = c.GetFont();
        auto styles = AsSet(v, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
        f.bold = f.italic = f.underline = f.strikeOut = false;
        for (const auto& s : styles) {
          if (s == "fsBold") f.bold = true;
          if (s == "fsItalic") f.italic = true;
          if (s == "fsUnderline") f.underline = true;
          if (s == "fsStrikeOut") f.strikeOut = true;
        }
        c.SetFont(f);
      });
}

void RegisterComponentAndControl(ClassRegistry& r) {
  r.RegisterAbstract("TComponent", "")
      .Property<Component>("Tag", [](Component& c, V v) { c.SetTag(AsInt(v)); });

  ClassInfo& control = r.RegisterAbstract("TControl", "TComponent");
  control.Property<Control>("Left", [](Control& c, V v) { c.SetLeft(AsInt(v)); })
      .Property<Control>("Top", [](Control& c, V v) { c.SetTop(AsInt(v)); })
      .Property<Control>("Width", [](Control& c, V v) { c.SetWidth(AsInt(v)); })
      .Property<Control>("Height", [](Control& c, V v) { c.SetHeight(AsInt(v)); })
      .Property<Control>("Align", [](Control& c, V v) { c.SetAlign(ToAlign(v)); })
      .Property<Control>("Caption", [](Control& c, V v) { c.SetCaption(AsString(v)); })
      .Property<Control>("Color", [](Control& c, V v) { c.SetColor(AsColor(v)); })
      .Property<Control>("ParentColor", [](Control& c, V v) { c.SetParentColor(AsBool(v)); })
      .Property<Control>("Ctl3D", [](Control& c, V v) { c.SetCtl3D(AsBool(v)); })
      .Property<Control>("ParentCtl3D", [](Control& c, V v) { c.SetParentCtl3D(AsBool(v)); });
  FontProperties<Control>(control);
  control.Property<Control>("ParentFont", [](Control& c, V v) { c.SetParentFont(AsBool(v)); })
      .Property<Control>("Hint", [](Control& c, V v) { c.SetHint(AsString(v)); })
      .Property<Control>("ShowHint", [](Control& c, V v) { c.SetShowHint(AsBool(v)); })
      .Property<Control>("ParentShowHint",
                         [](Control& c, V v) { c.SetParentShowHint(AsBool(v)); })
      .Property<Control>("Cursor", [](Control& c, V v) { c.SetCursor(ToCursor(v)); })
      .Property<Control>("Enabled", [](Control& c, V v) { c.SetEnabled(AsBool(v)); })
      .Property<Control>("Visible", [](Control& c, V v) { c.SetVisible(AsBool(v)); })
      .Property<Control>("TabOrder", [](Control& c, V v) { c.SetTabOrder(AsInt(v)); })
      .Property<Control>("TabStop", [](Control& c, V v) { c.SetTabStop(AsBool(v)); })
      .Property<Control>("OnClick", [](Control& c, V v, Ctx x) { c.OnClick = x.Handler<NotifyEvent>(v); })
      .Property<Control>("OnDblClick",
                         [](Control& c, V v, Ctx x) { c.OnDblClick = x.Handler<NotifyEvent>(v); })
      .Property<Control>("OnEnter", [](Control& c, V v, Ctx x) { c.OnEnter = x.Handler<NotifyEvent>(v); })
      .Property<Control>("OnExit", [](Control& c, V v, Ctx x) { c.OnExit = x.Handler<NotifyEvent>(v); })
      .Property<Control>("OnMouseDown",
                         [](Control& c, V v, Ctx x) { c.OnMouseDown = x.Handler<MouseEvent>(v); })
      .Property<Control>("OnMouseMove",
                         [](Control& c, V v, Ctx x) { c.OnMouseMove = x.Handler<MouseMoveEvent>(v); })
      .Property<Control>("OnMouseUp",
                         [](Control& c, V v, Ctx x) { c.OnMouseUp = x.Handler<MouseEvent>(v); });
}

void RegisterForm(ClassRegistry& r) {
  r.RegisterAbstract("TForm", "TControl")
      .Property<TForm>("BorderStyle",
                       [](TForm& f, V v) {
                         f.SetBorderStyle(AsEnum<BorderStyle>(
                             v, {{"bsNone", BorderStyle::None},
                                 {"bsSingle", BorderStyle::Single},
                                 {"bsSizeable", BorderStyle::Sizeable},
                                 {"bsDialog", BorderStyle::Dialog},
                                 {"bsToolWindow", BorderStyle::ToolWindow},
                                 {"bsSizeToolWin", BorderStyle::SizeToolWin}}));
                       })
      .Property<TForm>("Position",
                       [](TForm& f, V v) {
                         f.SetPosition(AsEnum<FormPosition>(
                             v, {{"poDesigned", FormPosition::Designed},
                                 {"poDefault", FormPosition::Default},
                                 {"poDefaultPosOnly", FormPosition::DefaultPosOnly},
                                 {"poDefaultSizeOnly", FormPosition::DefaultSizeOnly},
                                 {"poScreenCenter", FormPosition::ScreenCenter}}));
                       })
      .Property<TForm>("ClientWidth", [](TForm& f, V v) { f.SetClientWidth(AsInt(v)); })
      .Property<TForm>("ClientHeight", [](TForm& f, V v) { f.SetClientHeight(AsInt(v)); })
      .Property<TForm>("WindowState",
                       [](TForm& f, V v) {
                         f.SetWindowState(AsEnum<WindowState>(
                             v, {{"wsNormal", WindowState::Normal},
                                 {"wsMinimized", WindowState::Minimized},
                                 {"wsMaximized", WindowState::Maximized}}));
                       })
      .Property<TForm>("OnCreate", [](TForm& f, V v, Ctx x) { f.OnCreate = x.Handler<NotifyEvent>(v); })
      .Property<TForm>("OnShow", [](TForm& f, V v, Ctx x) { f.OnShow = x.Handler<NotifyEvent>(v); })
      .Property<TForm>("OnHide", [](TForm& f, V v, Ctx x) { f.OnHide = x.Handler<NotifyEvent>(v); })
      .Property<TForm>("OnClose", [](TForm& f, V v, Ctx x) { f.OnClose = x.Handler<CloseEvent>(v); })
      .Property<TForm>("OnDestroy",
                       [](TForm& f, V v, Ctx x) { f.OnDestroy = x.Handler<NotifyEvent>(v); })
      .Property<TForm>("OnActivate",
                       [](TForm& f, V v, Ctx x) { f.OnActivate = x.Handler<NotifyEvent>(v); })
      .Property<TForm>("OnDeactivate",
                       [](TForm& f, V v, Ctx x) { f.OnDeactivate = x.Handler<NotifyEvent>(v); })
      .Property<TForm>("OnKeyDown", [](TForm& f, V v, Ctx x) { f.OnKeyDown = x.Handler<KeyEvent>(v); });
}

void RegisterContainers(ClassRegistry& r) {
  r.Register<TPanel>("TPanel", "TControl")
      .Property<TPanel>("Alignment", [](TPanel& p, V v) { p.SetAlignment(ToAlignment(v)); })
      .Property<TPanel>("BevelInner", [](TPanel& p, V v) { p.SetBevelInner(ToBevelCut(v)); })
      .Property<TPanel>("BevelOuter", [](TPanel& p, V v) { p.SetBevelOuter(ToBevelCut(v)); })
      .Property<TPanel>("BevelWidth", [](TPanel& p, V v) { p.SetBevelWidth(AsInt(v)); })
      .Property<TPanel>("BorderWidth", [](TPanel& p, V v) { p.SetBorderWidth(AsInt(v)); })
      .Property<TPanel>("Windowless", [](TPanel& p, V v) { p.SetWindowless(AsBool(v)); });
  r.Register<TGroupBox>("TGroupBox", "TControl");
  r.Register<TScrollBox>("TScrollBox", "TControl")
      .Property<TScrollBox>("HorzScrollBar.Increment",
                            [](TScrollBox& s, V v) { s.SetHorzIncrement(AsInt(v)); })
      .Property<TScrollBox>("HorzScrollBar.Range", [](TScrollBox& s, V v) { s.SetHorzRange(AsInt(v)); });
  r.Register<TTabSheet>("TTabSheet", "TControl")
      .Property<TTabSheet>("TabVisible", [](TTabSheet& t, V v) { t.SetTabVisible(AsBool(v)); });
  r.Register<TPageControl>("TPageControl", "TControl")
      .Property<TPageControl>("ActivePage",
                              [](TPageControl& p, V v, Ctx x) {
                                const std::string name = AsIdentifier(v);
                                TPageControl* pc = &p;
                                LoadContext* ctx = &x;
                                x.Defer([pc, ctx, name] {
                                  auto* sheet = dynamic_cast<TTabSheet*>(&ctx->ComponentNamed(name));
                                  if (sheet == nullptr || sheet->Parent() != pc)
                                    throw PropertyError(name + " is not a page of " + pc->Name());
                                  pc->SetActivePage(sheet);
                                });
                              })
      .Property<TPageControl>("HotTrack", [](TPageControl& p, V v) { p.SetHotTrack(AsBool(v)); })
      .Property<TPageControl>("TabHeight", [](TPageControl& p, V v) { p.SetTabHeight(AsInt(v)); })
      .Property<TPageControl>("TabWidth", [](TPageControl& p, V v) { p.SetTabWidth(AsInt(v)); })
      .Property<TPageControl>("OnChange",
                              [](TPageControl& p, V v, Ctx x) { p.OnChange = x.Handler<NotifyEvent>(v); });
}

void RegisterTextControls(ClassRegistry& r) {
  r.Register<TLabel>("TLabel", "TControl")
      .Property<TLabel>("Alignment", [](TLabel& l, V v) { l.SetAlignment(ToAlignment(v)); })
      .Property<TLabel>("AutoSize", [](TLabel& l, V v) { l.SetAutoSize(AsBool(v)); })
      .Property<TLabel>("ShowAccelChar", [](TLabel& l, V v) { l.SetShowAccelChar(AsBool(v)); })
      .Property<TLabel>("Transparent", [](TLabel& l, V v) { l.SetTransparent(AsBool(v)); })
      .Property<TLabel>("WordWrap", [](TLabel& l, V v) { l.SetWordWrap(AsBool(v)); });
  r.Register<TEdit>("TEdit", "TControl")
      .Property<TEdit>("MaxLength", [](TEdit& e, V v) { e.SetMaxLength(AsInt(v)); })
      .Property<TEdit>("ReadOnly", [](TEdit& e, V v) { e.SetReadOnly(AsBool(v)); })
      .Property<TEdit>("Text", [](TEdit& e, V v) { e.SetText(AsString(v)); })
      .Property<TEdit>("OnChange", [](TEdit& e, V v, Ctx x) { e.OnChange = x.Handler<NotifyEvent>(v); });
  r.Register<TComboBox>("TComboBox", "TControl")
      .Property<TComboBox>("Style",
                           [](TComboBox& c, V v) {
                             c.SetStyle(AsEnum<ComboStyle>(v, {{"csDropDown", ComboStyle::DropDown},
                                                               {"csDropDownList", ComboStyle::DropDownList}}));
                           })
      .Property<TComboBox>("DropDownCount", [](TComboBox& c, V v) { c.SetDropDownCount(AsInt(v)); })
      .Property<TComboBox>("Items.Strings", [](TComboBox& c, V v) { c.SetItems(AsStringList(v)); })
      .Property<TComboBox>("ItemIndex", [](TComboBox& c, V v) { c.SetItemIndex(AsInt(v)); })
      .Property<TComboBox>("OnChange",
                           [](TComboBox& c, V v, Ctx x) { c.OnChange = x.Handler<NotifyEvent>(v); });
}

void RegisterButtons(ClassRegistry& r) {
  r.Register<TButton>("TButton", "TControl")
      .Property<TButton>("Cancel", [](TButton& b, V v) { b.SetCancel(AsBool(v)); })
      .Property<TButton>("Default", [](TButton& b, V v) { b.SetDefault(AsBool(v)); })
      .Property<TButton>("ModalResult", [](TButton& b, V v) { b.SetModalResult(ToModalResult(v)); });
  r.Register<TCheckBox>("TCheckBox", "TControl")
      .Property<TCheckBox>("Alignment", [](TCheckBox& c, V v) { c.SetAlignment(ToAlignment(v)); })
      .Property<TCheckBox>("Checked", [](TCheckBox& c, V v) { c.SetChecked(AsBool(v)); });
  r.Register<TRadioButton>("TRadioButton", "TControl")
      .Property<TRadioButton>("Alignment", [](TRadioButton& c, V v) { c.SetAlignment(ToAlignment(v)); })
      .Property<TRadioButton>("Checked", [](TRadioButton& c, V v) { c.SetChecked(AsBool(v)); });
  r.Register<TSpeedButton>("TSpeedButton", "TControl")
      .Property<TSpeedButton>("AllowAllUp", [](TSpeedButton& b, V v) { b.SetAllowAllUp(AsBool(v)); })
      .Property<TSpeedButton>("GroupIndex", [](TSpeedButton& b, V v) { b.SetGroupIndex(AsInt(v)); })
      .Property<TSpeedButton>("Down", [](TSpeedButton& b, V v) { b.SetDown(AsBool(v)); })
      .Property<TSpeedButton>("Flat", [](TSpeedButton& b, V v) { b.SetFlat(AsBool(v)); })
      .Property<TSpeedButton>("Glyph", [](TSpeedButton& b, V v) { b.SetGlyph(NamedBitmap(AsString(v))); })
      .Property<TSpeedButton>("Layout",
                              [](TSpeedButton& b, V v) {
                                b.SetLayout(AsEnum<ButtonLayout>(v, {{"blGlyphLeft", ButtonLayout::GlyphLeft},
                                                                     {"blGlyphRight", ButtonLayout::GlyphRight},
                                                                     {"blGlyphTop", ButtonLayout::GlyphTop},
                                                                     {"blGlyphBottom", ButtonLayout::GlyphBottom}}));
                              })
      .Property<TSpeedButton>("Margin", [](TSpeedButton& b, V v) { b.SetMargin(AsInt(v)); })
      .Property<TSpeedButton>("NumGlyphs", [](TSpeedButton& b, V v) { b.SetNumGlyphs(AsInt(v)); })
      .Property<TSpeedButton>("Spacing", [](TSpeedButton& b, V v) { b.SetSpacing(AsInt(v)); });
}

void RegisterTrackBar(ClassRegistry& r) {
  r.Register<TTrackBar>("TTrackBar", "TControl")
      .Property<TTrackBar>("Max", [](TTrackBar& t, V v) { t.SetMax(AsInt(v)); })
      .Property<TTrackBar>("Min", [](TTrackBar& t, V v) { t.SetMin(AsInt(v)); })
      .Property<TTrackBar>("Orientation",
                           [](TTrackBar& t, V v) {
                             t.SetOrientation(AsEnum<TrackBarOrientation>(
                                 v, {{"trHorizontal", TrackBarOrientation::Horizontal},
                                     {"trVertical", TrackBarOrientation::Vertical}}));
                           })
      .Property<TTrackBar>("Frequency", [](TTrackBar& t, V v) { t.SetFrequency(AsInt(v)); })
      .Property<TTrackBar>("LineSize", [](TTrackBar& t, V v) { t.SetLineSize(AsInt(v)); })
      .Property<TTrackBar>("PageSize", [](TTrackBar& t, V v) { t.SetPageSize(AsInt(v)); })
      .Property<TTrackBar>("Position", [](TTrackBar& t, V v) { t.SetPosition(AsInt(v)); })
      .Property<TTrackBar>("TickMarks",
                           [](TTrackBar& t, V v) {
                             t.SetTickMarks(AsEnum<TickMarks>(v, {{"tmBottomRight", TickMarks::BottomRight},
                                                                  {"tmTopLeft", TickMarks::TopLeft},
                                                                  {"tmBoth", TickMarks::Both}}));
                           })
      .Property<TTrackBar>("TickStyle",
                           [](TTrackBar& t, V v) {
                             t.SetTickStyle(AsEnum<TickStyle>(v, {{"tsNone", TickStyle::None},
                                                                  {"tsAuto", TickStyle::Auto},
                                                                  {"tsManual", TickStyle::Manual}}));
                           })
      .Property<TTrackBar>("OnChange",
                           [](TTrackBar& t, V v, Ctx x) { t.OnChange = x.Handler<NotifyEvent>(v); });
}

void RegisterShapes(ClassRegistry& r) {
  r.Register<TBevel>("TBevel", "TControl")
      .Property<TBevel>("Shape",
                        [](TBevel& b, V v) {
                          b.SetShape(AsEnum<BevelShape>(v, {{"bsBox", BevelShape::Box},
                                                            {"bsFrame", BevelShape::Frame},
                                                            {"bsTopLine", BevelShape::TopLine},
                                                            {"bsBottomLine", BevelShape::BottomLine},
                                                            {"bsLeftLine", BevelShape::LeftLine},
                                                            {"bsRightLine", BevelShape::RightLine},
                                                            {"bsSpacer", BevelShape::Spacer}}));
                        })
      .Property<TBevel>("Style", [](TBevel& b, V v) {
        b.SetStyle(AsEnum<BevelStyle>(v, {{"bsLowered", BevelStyle::Lowered}, {"bsRaised", BevelStyle::Raised}}));
      });
  r.Register<TShape>("TShape", "TControl")
      .Property<TShape>("Brush.Color", [](TShape& s, V v) { s.SetBrushColor(AsColor(v)); })
      .Property<TShape>("Brush.Style",
                        [](TShape& s, V v) {
                          s.SetBrushStyle(
                              AsEnum<BrushStyle>(v, {{"bsSolid", BrushStyle::Solid}, {"bsClear", BrushStyle::Clear}}));
                        })
      .Property<TShape>("Pen.Color", [](TShape& s, V v) { s.SetPenColor(AsColor(v)); })
      .Property<TShape>("Pen.Width", [](TShape& s, V v) { s.SetPenWidth(AsInt(v)); })
      .Property<TShape>("Shape", [](TShape& s, V v) {
        s.SetShape(AsEnum<ShapeType>(v, {{"stRectangle", ShapeType::Rectangle},
                                         {"stSquare", ShapeType::Square},
                                         {"stRoundRect", ShapeType::RoundRect},
                                         {"stRoundSquare", ShapeType::RoundSquare},
                                         {"stEllipse", ShapeType::Ellipse},
                                         {"stCircle", ShapeType::Circle}}));
      });
  r.Register<TImage>("TImage", "TControl")
      .Property<TImage>("Center", [](TImage& i, V v) { i.SetCenter(AsBool(v)); })
      .Property<TImage>("Picture", [](TImage& i, V v) { i.SetPicture(NamedBitmap(AsString(v))); })
      .Property<TImage>("Stretch", [](TImage& i, V v) { i.SetStretch(AsBool(v)); })
      .Property<TImage>("Transparent", [](TImage& i, V v) { i.SetTransparent(AsBool(v)); });
}

void RegisterTimer(ClassRegistry& r) {
  r.Register<TTimer>("TTimer", "TComponent")
      .Property<TTimer>("Enabled", [](TTimer& t, V v) { t.SetEnabled(AsBool(v)); })
      .Property<TTimer>("Interval", [](TTimer& t, V v) { t.SetInterval(AsUnsigned(v)); })
      .Property<TTimer>("OnTimer", [](TTimer& t, V v, Ctx x) { t.OnTimer = x.Handler<NotifyEvent>(v); });
}

}  // namespace

void RegisterStandardClasses(ClassRegistry& registry) {
  RegisterComponentAndControl(registry);
  RegisterForm(registry);
  RegisterContainers(registry);
  RegisterTextControls(registry);
  RegisterButtons(registry);
  RegisterTrackBar(registry);
  RegisterShapes(registry);
  RegisterTimer(registry);
}

}  // namespace zentra
