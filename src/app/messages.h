// SPDX-License-Identifier: MIT
#pragma once
// The texts of the window's message boxes.

#include <cerrno>

#include "generate/digit_pattern.h"
#include "lookup/segment_index.h"
#include "platform/temporary_file.h"

namespace haoma::app::messages {

inline constexpr const char* kPrettyModeNotSelected = "选中红字，仅靓号";
inline constexpr const char* kAllModeNotSelected = "选中红字，全部号";
inline constexpr const char* kNoPatternTicked = "请至少选择一种靓号！ QQ 5208801467";
inline constexpr const char* kNoSegments =
    "左框中无号段！请先查号段或者手工写上手机号段都可以！ QQ 5208801467";
inline constexpr const char* kNoCity = "下面框中写上城市名再查！支持首字母和拼音联想。";
inline constexpr const char* kDatabaseFailed = "连接数据库失败！";
// After kDatabaseFailed at start-up: %1 is the store's file, %2 why it cannot be opened.
inline constexpr const char* kDatabaseFailedDetail =
    "\n号段库 %1 无法打开：%2\n请重新安装本程序，或用 haoma-cli import 导入号段数据。";
// The help page is missing from the installation.
inline constexpr const char* kNoHelpPage = "找不到帮助页 haoma-help.html，请重新安装本程序。";
// What a city text that gives no segments of a city leads to instead. %1 is the text.
inline constexpr const char* kProvinceAsCity =
    "“%1”是省份名。要查全省的号段，请用“按省份或区号查号段”：已为你打开并选好了%2。";
// %2: the cities, joined by 、.
inline constexpr const char* kSharedPlace = "“%1”在几个城市都有：%2。请写上城市名再查。";
inline constexpr const char* kSpanningPlace = "“%1”跨%2，请写上其中一个城市名再查。";
// %1 the place, %2 the city its numbers are filed under.
inline constexpr const char* kFiledPlace = "号段库把%1的号码记在%2名下，查到的是%2的号段。";
inline constexpr const char* kNoSuchPlace =
    "号段库中没有“%1”的号段：它不是号段库中的城市，也不是已知的地名。";
// %1: what was queried (a city, a province, an area code).
inline constexpr const char* kNoCarrierSegments = "%1没有所选运营商的号段。";
inline constexpr const char* kNoAreaCode = "号段库中没有区号 %1 的号段。";
inline constexpr const char* kNoRegionChosen = "请选择省份或填写区号再查。";

// 关于: %1 the version, %2 the data (kAboutData or kAboutNoStore).
inline constexpr const char* kAbout =
    "全国手机号码生成器 haoma %1\n\n%2\n\n程序以 MIT 许可发布；号段数据以 GPL-3.0 许可发布，"
    "随数据另附说明。";
// %1 the data set, %2 its edition, %3 how many segments, %4 the store's file.
inline constexpr const char* kAboutData = "号段数据：%1\n版本：%2，共 %3 个号段\n文件：%4";
inline constexpr const char* kAboutNoStore = "号段数据：无法打开号段库";

// The tooltip of a suggested name that leads to no segment of the store.
inline constexpr const char* kNoSegmentsForPlace = "号段库中没有这个地名的号段";
// A query while no store could be opened: %1 the file, %2 why.
inline constexpr const char* kStoreUnavailable =
    "号段库 %1 无法打开（%2），查不到号段！请重新安装本程序，或用 haoma-cli import "
    "导入号段数据。";
// A query that the store could not answer; %1 is the store's file.
inline constexpr const char* kStoreDamaged =
    "号段库 %1 已损坏，无法查号段！请重新安装本程序，或用 haoma-cli import 重新导入号段数据。";
// The result box holds at most %1 numbers; a run that would pass that stops with this.
inline constexpr const char* kResultBoxFull =
    "结果框最多容纳%1个号码，已停止生成！请先复制或清空结果，更大的号码表请用 haoma-cli 生成。";

// Saving the results failed; %1 is the file, %2 the reason. No part of the file was written.
inline constexpr const char* kSaveFailed = "无法保存到文件 %1，文件未改动。原因：%2";
// The reasons a save names in Chinese, by the system's error number; others stay as the
// system words them.
struct SaveFailureReason {
    int cause;
    const char* reason;
};
inline constexpr SaveFailureReason kSaveFailureReasons[] = {
    {EACCES, "权限不够"},      {EPERM, "权限不够"},
    {ENOSPC, "磁盘已满"},      {platform::kQuotaExceeded, "超出磁盘配额"},
    {ENOENT, "文件夹不存在"},  {ENOTDIR, "文件夹不存在"},
    {EROFS, "只读的文件系统"}, {EISDIR, "这是一个文件夹"},
    {EFBIG, "文件太大"},       {ELOOP, "符号链接成环"},
};
// What is wrong with a rule of 按规则选号, after "第 N 个字符："; %1 is the character.
struct PatternFaultText {
    generate::PatternFault fault;
    const char* text;
};
inline constexpr PatternFaultText kPatternFaultTexts[] = {
    {generate::PatternFault::Empty, "这里少了一个规则（逗号前后和规则末尾不能空着）"},
    {generate::PatternFault::NothingBefore, "“%1”前面要先有一位"},
    {generate::PatternFault::UnclosedSet, "“[”缺少配对的“]”"},
    {generate::PatternFault::LowerCaseLetter, "“%1”：数字变量要用大写字母 A 到 J"},
    {generate::PatternFault::Unexpected, "规则里不能有“%1”（只用数字、*、[集合]、A 到 J、+ 和 -）"},
    {generate::PatternFault::TooLong, "一个规则最多 11 位"},
    {generate::PatternFault::NotInSet, "方括号里只能写数字和范围，不能有“%1”"},
    {generate::PatternFault::BadRange, "范围要写两个数字，小的在前，如 0-5"},
    {generate::PatternFault::EmptySet, "这个方括号不含任何数字"},
};
// Before a fault's text: %1 is the position, counted in characters from 1.
inline constexpr const char* kPatternFaultAt = "第 %1 个字符：";
inline constexpr const char* kBadSeed = "随机种子要是 0 到 18446744073709551615 之间的整数";
inline constexpr const char* kRuleAction = "按规则选号…(&G)";

// Why 号码归属地 found no answer for a row, in the column beside the six; 统计 counts by it.
struct VerdictReason {
    lookup::NumberVerdict verdict;
    const char* reason;
};
inline constexpr VerdictReason kVerdictReasons[] = {
    {lookup::NumberVerdict::Empty, "空行"},
    {lookup::NumberVerdict::Malformed, "不是 7 到 11 位数字"},
    {lookup::NumberVerdict::NotMobile, "不是手机号（13 到 19 开头）"},
    {lookup::NumberVerdict::Unknown, "号段库中没有这个号段"},
    {lookup::NumberVerdict::Foreign, "境外号码（不是 +86）"},
    {lookup::NumberVerdict::CodeOnly, "只有国家代码，没有号码"},
    {lookup::NumberVerdict::TooLong, "这一行太长（超过 1 MiB）"},
};

inline constexpr const char* kSaveCaption = "保存到文件";
inline constexpr const char* kRegionAction = "按省份或区号查号段…(&P)";
inline constexpr const char* kWhereAction = "号码归属地…(&L)";
inline constexpr const char* kSaveAction = "保存到文件(&S)…";
inline constexpr const char* kSaveFilter = "文本文件 (*.txt);;所有文件 (*)";

}  // namespace haoma::app::messages
