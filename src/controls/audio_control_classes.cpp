#include "controls/audio_control_classes.h"

#include "controls/level_meter.h"
#include "controls/slider.h"
#include "toolkit/buttons.h"
#include "toolkit/class_registry.h"

namespace zentra {
namespace {

using V = const PropertyValue&;
using Ctx = LoadContext&;

std::uint16_t AsWord(V v) {
  const unsigned value = AsUnsigned(v);
  if (value > 0xFFFF) throw PropertyError("value out of range 0..65535");
  return static_cast<std::uint16_t>(value);
}

BevelCut ToBevelCut(V v) {
  return AsEnum<BevelCut>(v, {{"bvNone", BevelCut::None},
                              {"bvLowered", BevelCut::Lowered},
                              {"bvRaised", BevelCut::Raised},
                              {"bvSpace", BevelCut::Space}});
}

void RegisterLumi(ClassRegistry& r) {
  r.Register<TLumi>("TLumi", "TShape")
      .Property<TLumi>("Width", [](TLumi& c, V v) { c.SetWidth(AsInt(v)); })
      .Property<TLumi>("Height", [](TLumi& c, V v) { c.SetHeight(AsInt(v)); })
      .Property<TLumi>("ColorOn", [](TLumi& c, V v) { c.SetColorOn(AsColor(v)); })
      .Property<TLumi>("ColorOff", [](TLumi& c, V v) { c.SetColorOff(AsColor(v)); })
      .Property<TLumi>("ColorFrame", [](TLumi& c, V v) { c.SetColorFrame(AsColor(v)); })
      .Property<TLumi>("Frame", [](TLumi& c, V v) { c.SetFrame(AsBool(v)); })
      .Property<TLumi>("_On", [](TLumi& c, V v) { c.SetOn(AsBool(v)); });
}

void RegisterBarGraph(ClassRegistry& r) {
  r.Register<TBarGraph>("TBarGraph", "TPanel")
      .Property<TBarGraph>("BevelOuter", [](TBarGraph& c, V v) { c.SetBevelOuter(ToBevelCut(v)); })
      .Property<TBarGraph>("Width", [](TBarGraph& c, V v) { c.SetWidth(AsInt(v)); })
      .Property<TBarGraph>("Height", [](TBarGraph& c, V v) { c.SetHeight(AsInt(v)); })
      .Property<TBarGraph>("Level", [](TBarGraph& c, V v) { c.SetLevel(AsInt(v)); })
      .Property<TBarGraph>("LevelMax", [](TBarGraph& c, V v) { c.SetLevelMax(AsInt(v)); })
      .Property<TBarGraph>("LumiHeight", [](TBarGraph& c, V v) { c.SetLumiHeight(AsInt(v)); })
      .Property<TBarGraph>("LumiColor", [](TBarGraph& c, V v) { c.SetLumiColor(AsColor(v)); })
      .Property<TBarGraph>("_On", [](TBarGraph& c, V v) { c.SetAllOn(AsBool(v)); });
}

void RegisterLevelMeter(ClassRegistry& r) {
  r.Register<TLevelMeter>("TLevelMeter", "TBarGraph")
      .Property<TLevelMeter>("NumLumisRed", [](TLevelMeter& c, V v) { c.SetNumLumisRed(AsInt(v)); })
      .Property<TLevelMeter>("NumLumisOrange",
                             [](TLevelMeter& c, V v) { c.SetNumLumisOrange(AsInt(v)); })
      .Property<TLevelMeter>("TimerEnable", [](TLevelMeter& c, V v) { c.SetTimerEnable(AsBool(v)); })
      .Property<TLevelMeter>("TimerInterval",
                             [](TLevelMeter& c, V v) { c.SetTimerInterval(AsWord(v)); })
      .Property<TLevelMeter>("Level", [](TLevelMeter& c, V v) { c.SetLevel(AsInt(v)); })
      .Property<TLevelMeter>("LevelMax", [](TLevelMeter& c, V v) { c.SetLevelMax(AsInt(v)); })
      .Property<TLevelMeter>("LevelMaxHold",
                             [](TLevelMeter& c, V v) { c.SetLevelMaxHold(AsWord(v)); });
}

void RegisterSlider(ClassRegistry& r) {
  r.Register<TSlider>("TSlider", "TPanel")
      .Property<TSlider>("Color", [](TSlider& c, V v) { c.SetColor(AsColor(v)); })
      .Property<TSlider>("Height", [](TSlider& c, V v) { c.SetHeight(AsInt(v)); })
      .Property<TSlider>("Width", [](TSlider& c, V v) { c.SetWidth(AsInt(v)); })
      .Property<TSlider>("Min", [](TSlider& c, V v) { c.SetMin(AsInt(v)); })
      .Property<TSlider>("Max", [](TSlider& c, V v) { c.SetMax(AsInt(v)); })
      .Property<TSlider>("Position", [](TSlider& c, V v) { c.SetPosition(AsInt(v)); })
      .Property<TSlider>("BtnHeight", [](TSlider& c, V v) { c.SetBtnHeight(AsInt(v)); })
      .Property<TSlider>("BtnWidth", [](TSlider& c, V v) { c.SetBtnWidth(AsInt(v)); })
      .Property<TSlider>("MoveRestriction",
                         [](TSlider& c, V v) { c.SetMoveRestriction(AsInt(v)); })
      .Property<TSlider>("Number", [](TSlider& c, V v) { c.SetNumber(AsInt(v)); })
      .Property<TSlider>("LinkCheck",
                         [](TSlider& c, V v, Ctx x) {
                           // The box may be written further down the description.
                           const std::string name = AsIdentifier(v);
                           x.Defer([&c, name, &x] {
                             auto* box = dynamic_cast<TCheckBox*>(&x.ComponentNamed(name));
                             if (box == nullptr) throw PropertyError(name + " is not a check box");
                             c.SetLinkCheck(box);
                           });
                         })
      .Property<TSlider>("OnChange",
                         [](TSlider& c, V v, Ctx x) { c.OnChange = x.Handler<NotifyEvent>(v); });
}

}  // namespace

void RegisterAudioControlClasses() {
  ClassRegistry& registry = ClassRegistry::Instance();
  if (registry.Contains("TLumi")) return;
  RegisterLumi(registry);
  RegisterBarGraph(registry);
  RegisterLevelMeter(registry);
  RegisterSlider(registry);
}

}  // namespace zentra
