#include "status_toolbar.h"

#include <algorithm>

#include "window_layout.h"

namespace ime {

namespace {

constexpr int kOffsets[kStatusFunctions] = {0, 44, 88, 110, 132, 154, 176, 198, 220, 242, 264, 286};
constexpr int kRowNormal = kStatusRowNormal, kRowPressed = kStatusRowPressed;
constexpr int kRowDisabled = kStatusRowDisabled, kRowHover = kStatusRowHover;
constexpr int kSmallLeft = kStatusSmallLeft, kSmallRight = kStatusSmallRight, kSmall = kStatusSmall;
constexpr int kRightEndX = kStatusRightEndX, kRightEndWidth = kStatusRightEndWidth;

int Row(bool disabled, bool pressed, bool hover) {
  if (disabled) return kRowDisabled;
  if (pressed) return kRowPressed;
  if (hover) return kRowHover;
  return kRowNormal;
}

}  // namespace

ToolbarButtonMap FullToolbarMap() {
  ToolbarButtonMap map;
  for (int n = 1; n <= kStatusFunctions; ++n) {
    map.enabled[n] = true;
    map.functions[map.count++] = n;
  }
  return map;
}

const ToolbarButtonMap& CurrentToolbarMap(const ToolbarButtonMap& configured, const ToolbarButtonMap& full,
                                          bool fullShown) {
  return fullShown && configured.count < kStatusFunctions ? full : configured;
}

uint32_t StatusHitTest(Point p, Size client, int buttons) {
  if (p.x < 0 || p.y < 0 || p.x >= client.cx || p.y >= client.cy || p.y < 8) return 0;
  if (p.x < kStatusGripWidth) return kHitGrip;
  if (p.y > 32) return 0;
  for (int i = 0; i < buttons; ++i) {
    if (p.x < 75 + kStatusButton * i) return 1u << i;
  }
  return p.y < 19 ? kHitSwitch : kHitOnOff;
}

Rect StatusToolRect(int tool, int buttons) {
  const int right = kStatusGripWidth + kStatusButton * buttons;
  if (tool < buttons) return {53 + 22 * tool, 7, 75 + 22 * tool, 29};
  if (tool < kStatusFunctions) return {1000, 7, 1000, 29};
  if (tool == 12) return {right, 11, right + kSmall, 22};
  return {right, 23, right + kSmall, 34};
}

Point StatusRelayPoint(Point p, int buttons) {
  const int width = StatusToolbarSize(buttons).cx;
  return {std::clamp(p.x, 0, width - 1), std::clamp(p.y, 7, 28)};
}

int StatusImageOffset(int function) {
  return function >= 1 && function <= kStatusFunctions ? kOffsets[function - 1] : 0;
}

std::vector<StatusBlit> StatusPaintPlan(const StatusLook& look) {
  std::vector<StatusBlit> plan;
  const int n = look.map ? look.map->count : 0;
  const int width = StatusToolbarSize(n).cx;
  plan.push_back({{0, 0, width, 7}, {0, 0}});
  plan.push_back({{0, 7, kStatusGripWidth, 29}, {0, 7}});
  plan.push_back({{kRightEndX, 7, kRightEndX + kRightEndWidth, 29}, {width - kRightEndWidth, 7}});
  for (int i = 0; i < n; ++i) {
    const int f = look.map->functions[i];
    bool disabled = !look.context;
    if (look.busy && (f == kFnLookup || f == kFnPad || f == kFnWordRegistration || f == kFnSettings)) disabled = true;
    bool second = false;
    if (f == kFnInputMode) second = !(look.open && (look.mode & kConvNative));
    if (f == kFnInputSize) second = !(look.open && (look.mode & kConvFullShape));
    const int x = kStatusGripWidth + StatusImageOffset(f) + (second ? kStatusButton : 0);
    const int y = 7 + Row(disabled, (look.pressed >> i & 1) != 0, (look.hover >> i & 1) != 0);
    plan.push_back({{x, y, x + kStatusButton, y + kStatusButton}, {kStatusGripWidth + kStatusButton * i, 7}});
  }
  const int small = kStatusGripWidth + kStatusButton * n;
  {
    const bool disabled = look.allConfigured || !look.context;
    const int x = look.fullShown ? kSmallRight : kSmallLeft;
    const int y = 7 + Row(disabled, (look.pressed & kHitSwitch) != 0, (look.hover & kHitSwitch) != 0);
    plan.push_back({{x, y, x + kSmall, y + kSmall}, {small, 7}});
  }
  {
    const int x = look.open ? kSmallLeft : kSmallRight;
    const int y = 18 + Row(!look.context, (look.pressed & kHitOnOff) != 0, (look.hover & kHitOnOff) != 0);
    plan.push_back({{x, y, x + kSmall, y + kSmall}, {small, 18}});
  }
  return plan;
}

ModeState ApplyModeButton(int function, ModeState now) {
  ModeState s = now;
  if (function == kFnInputMode) {
    if (!now.open) {
      s.open = true;
      s.mode = (now.mode | kConvNative) & ~kConvFullShape;
    } else if (!(now.mode & kConvFullShape)) {
      if (now.mode & kConvNative) {
        s.open = false;
      } else {
        s.mode |= kConvNative;
      }
    } else {
      s.mode ^= kConvNative;
    }
  } else if (function == kFnInputSize) {
    if (!now.open) {
      s.open = true;
      s.mode = (now.mode | kConvFullShape) & ~kConvNative;
    } else if (now.mode & kConvNative) {
      s.mode ^= kConvFullShape;
    } else if (now.mode & kConvFullShape) {
      s.open = false;
    } else {
      s.mode |= kConvFullShape;
    }
  }
  return s;
}

ModeState ApplyOnOffButton(ModeState now, bool halfWidthSetting) {
  ModeState s = now;
  s.open = !now.open;
  if (s.open && !(now.mode & (kConvNative | kConvFullShape))) {
    s.mode |= kConvNative;
    if (!halfWidthSetting) s.mode |= kConvFullShape;
  }
  return s;
}

Point ClampStatusPosition(Point p, int buttons, const Rect& work) {
  const Size s = StatusToolbarSize(buttons);
  return {std::max(work.left, std::min(p.x, work.right - s.cx)), std::max(work.top, std::min(p.y, work.bottom - s.cy))};
}

Point UtilityMenuPosition(const Rect& toolbar, int button, const MenuMetrics& m) {
  const int x = toolbar.left + kStatusButton * button + m.cxEdge + m.cxBorder;
  const int h = m.cyMenu - m.cyDlgFrame;
  const int y = toolbar.bottom + 7 * h > m.screenHeight ? toolbar.top - 7 * h + 1 : toolbar.bottom;
  return {x, y};
}

HelpCall ImeHelpCall(const ImeConfig& cfg, int command, unsigned topic) {
  if (command == 2) return {kHhCloseAll, {}, 0};
  const std::string file = cfg.programFolder + cfg.helpFileName;
  if (topic == 0) return {kHhDisplayTopic, file, 0};
  return {kHhHelpContext, file, topic};
}

const char16_t* StatusTooltip(int function) {
  static const char16_t* const kTexts[kStatusFunctions] = {
      u"入力モード", u"入力サイズ", u"部首・ハングル・コード入力", u"仮想キーボード", u"日韓翻訳入力",
      u"DAL-MOK（パリスク）", u"韓日・日韓辞典", u"ドレンビク", u"ユーティリティ", u"辞書編集",
      u"環境設定", u"ヘルプ",
  };
  return function >= 1 && function <= kStatusFunctions ? kTexts[function - 1] : u"";
}

const char16_t* StatusSwitchTooltip() { return u"ツールバー切替"; }
const char16_t* StatusOnOffTooltip() { return u"ＩＭＥ ＯＮ／ＯＦＦ 切替"; }

}  // namespace ime
