// Line labels of the settings list. They are the report's own wording (not the tree
// labels): each begins with a full-width space and ends with the tabs that align the values.
#pragma once

#include <array>
#include <string_view>

#include "model/catalogue.h"

namespace drovik::report_labels {

// Positions of the groups among the catalogue's paper-path and common items.
inline constexpr int kTractorItemCount = 15;
inline constexpr int kFrontTractorFirst = 0;
inline constexpr int kRearTractorFirst = 15;
inline constexpr int kCutFirst = 30;
inline constexpr int kCutItemCount = 8;
inline constexpr int kCommonGroupFirst = 0;
inline constexpr int kCommonGroupCount = 14;
inline constexpr int k8630First = 14;
inline constexpr int k8630Count = 7;
inline constexpr int kEscpFirst = 21;
inline constexpr int kEscpCount = 8;

// Front and rear tractor share one wording, in catalogue order.
inline constexpr std::array<std::string_view, kTractorItemCount> kTractor = {
    "　用紙長さ\t\t",     "　改行幅\t\t\t",         "　印字速度\t\t",   "　印字幅\t\t\t",
    "　紙厚設定\t\t",     "　ミシン目スキップ\t\t", "　片方向印字\t\t", "　紙ホチキス\t\t",
    "　ティアオフ\t\t",   "　グラフィック強化\t\t", "　コピー強化\t\t", "　トップマージン\t\t",
    "　連続紙押さえ\t\t", "　ローラー踏み替え\t\t", "　ＥＯＦ印字\t\t",
};

inline constexpr std::array<std::string_view, kCutItemCount> kCut = {
    "　改行幅\t\t\t",          "　印字速度\t\t",          "　紙厚設定\t\t",
    "　片方向印字\t\t",        "　グラフィック強化\t\t",  "　コピー強化\t\t",
    "　↑送りトップマージン\t", "　↓送りトップマージン\t",
};

// Common, 8630 and ESC/P items in catalogue order.
inline constexpr std::array<std::string_view, catalogue::kCommonItemCount> kCommon = {
    "　エミュレーション\t\t",   "　ブザー\t\t\t",         "　用紙モード\t\t",
    "　キャラクターモード\t\t", "　スムージング\t\t",     "　ＡＳＦ排出\t\t",
    "　ＡＳＦ紙厚\t\t",         "　ティアオフ戻り\t\t",   "　自動オンライン\t\t",
    "　用紙切替コマンド\t\t",   "　／／ｎ／／モード\t\t", "　縮小\t\t\t",
    "　ＡＧＡ水平位置\t\t",     "　ＥＣＯモード\t\t",     "　イメージ折り返し\t\t",
    "　レベルＥ機能\t\t",       "　コードページ\t\t",     "　日本語文字セット\t\t",
    "　９０年改定\t\t",         "　簡易平成書体\t\t",     "　デフォルトＡＮＫ\t\t",
    "　ＥＳＣ／Ｐ文字ピッチ\t", "　文字コード\t\t",       "　国際文字\t\t",
    "　自動改行\t\t",           "　高速文字品位\t\t",     "　ＬＱ文字品位\t\t",
    "　初期化コマンド\t\t",     "　ＴＯＦ改ページ\t\t",
};

// Interface items in catalogue order.
inline constexpr std::array<std::string_view, catalogue::kInterfaceItemCount> kInterface = {
    "　Ｉ／Ｆ選択\t\t",         "　Ｉ／Ｆ切り替え時間\t", "　パラレル設定\t\t",
    "　ＤＨＣＰ設定\t\t",       "　ＩＰアドレス\t\t",     "　サブネットマスク\t\t",
    "　ゲートウェイアドレス\t", "　エラー表示\t\t",
};

inline constexpr std::string_view kSelectUser = "　初期ユーザー設定\t";

}  // namespace drovik::report_labels
