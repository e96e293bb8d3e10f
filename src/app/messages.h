// SPDX-License-Identifier: MIT
#pragma once
// The texts of the window's message boxes.

#include <cerrno>

#include "generate/digit_pattern.h"

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
    {EACCES, "权限不够"},      {EPERM, "权限不够"},        {ENOSPC, "磁盘已满"},
    {EDQUOT, "超出磁盘配额"},  {ENOENT, "文件夹不存在"},   {ENOTDIR, "文件夹不存在"},
    {EROFS, "只读的文件系统"}, {EISDIR, "这是一个文件夹"}, {EFBIG, "文件太大"},
    {ELOOP, "符号链接成环"},
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

inline constexpr const char* kSaveCaption = "保存到文件";
inline constexpr const char* kRegionAction = "按省份或区号查号段…(&P)";
inline constexpr const char* kWhereAction = "号码归属地…(&L)";
inline constexpr const char* kSaveAction = "保存到文件(&S)…";
inline constexpr const char* kSaveFilter = "文本文件 (*.txt);;所有文件 (*)";

}  // namespace haoma::app::messages
