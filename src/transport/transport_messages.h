// The operator's messages of the send routes and the retrieval, word for word.
#pragma once

#include <string_view>

namespace drovik::transport {

// Sending.
inline constexpr std::string_view kSelectPrinterMessage = "プリンタドライバを選択してください";
inline constexpr std::string_view kSpoolSentMessage = "設定を送信できました";
inline constexpr std::string_view kSpoolFailedMessage = "設定を送信できませんでした";
inline constexpr std::string_view kParallelSentMessage = "設定を送信しました";
inline constexpr std::string_view kParallelFailedMessage = "設定を送信できません";
inline constexpr std::string_view kNetworkSentMessage = "設定を送信できました";
inline constexpr std::string_view kNetworkFailedMessage = "設定を送信できませんでした";
inline constexpr std::string_view kEnterAddressMessage = "ＩＰアドレスを入力してください";

// Confirmation questions before a send; the third line starts with a full-width space.
inline constexpr std::string_view kConfirmSpoolQuestion =
    "設定をプリンタに送信してもよろしいですか？\n・プリンタが印刷中ではなく、オンラインになっている"
    "か\n"
    "　確認してください\n・ポートが正しいか確認してください";
inline constexpr std::string_view kConfirmParallelQuestion =
    "設定をプリンタに送信してもよろしいですか？\n・プリンタが印刷中ではなく、オンラインになっている"
    "か\n"
    "　確認してください\n・プリンタケーブルが接続されているか確認してください";
inline constexpr std::string_view kConfirmNetworkQuestion =
    "設定をプリンタに送信してもよろしいですか？\n・プリンタが印刷中ではなく、オンラインになっている"
    "か\n"
    "　確認してください\n・ＩＰアドレスは正しいか確認してください";

// Shown while a network run is waited for.
inline constexpr std::string_view kConnectingMessage = "プリンタに接続しています";

// Retrieval.
inline constexpr std::string_view kRetrievedMessage = "プリンタ情報を取得しました";
inline constexpr std::string_view kRetrievalFailedMessage = "プリンタ情報を取得できませんでした";
inline constexpr std::string_view kUnsupportedModelMessage = "プリンタ機種がサポート外です。";
inline constexpr std::string_view kLoginIncorrectMessage =
    "パスワードが正しくないか、入力されていません";

}  // namespace drovik::transport
