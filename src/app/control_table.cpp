// SPDX-License-Identifier: MIT
#include "app/control_table.h"

#include <array>

namespace haoma::app {
namespace {

using K = ControlKind;
using G = RadioGroup;

constexpr const char* kFrame = "分组框1";
constexpr const char* kCarrier = "分组框2";
constexpr bool on = true;
constexpr bool off = false;

// clang-format off
constexpr std::array kControls = {
//  name               kind         parent    left top  w    h    caption                                   color      bold transp enabled checked visible group      resource
    ControlSpec{"分组框1",          K::GroupBox, nullptr,  8,   8,   582, 418, "",                            nullptr,   0,  off, on,  off, on,  G::None,    nullptr},
    ControlSpec{"分组框2",          K::GroupBox, kFrame,   6,   186, 88,  150, "运营商",                      nullptr,   0,  off, on,  off, on,  G::None,    nullptr},
    ControlSpec{"标签3",            K::Label,    kFrame,   103, 19,  80,  20,  "手机号码段:",                 "#0000FF", 14, on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"标签号段数",       K::Label,    kFrame,   190, 20,  64,  16,  "0",                           "#000000", 16, on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"标签7",            K::Label,    kFrame,   258, 16,  50,  24,  "计划生成",                    "#000000", 12, on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"编辑框生成总数",   K::LineEdit, kFrame,   313, 16,  59,  24,  "1000000",                     nullptr,   0,  off, on,  off, on,  G::None,    nullptr},
    ControlSpec{"标签2",            K::Label,    kFrame,   384, 16,  100, 21,  "生成的手机号码：",            "#0000FF", 12, on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"标签总数",         K::Label,    kFrame,   490, 17,  78,  16,  "0",                           "#FF0000", 16, on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮1查询",        K::Button,   kFrame,   16,  32,  62,  32,  "查号段",                      nullptr,   16, off, on,  off, on,  G::None,    nullptr},
    ControlSpec{"标签6",            K::Label,    kFrame,   18,  76,  72,  24,  "城市名：",                    "#0088FF", 16, on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"编辑框_出发地",    K::LineEdit, kFrame,   6,   102, 91,  32,  "",                            nullptr,   0,  off, on,  off, on,  G::None,    nullptr},
    ControlSpec{"编辑框1",          K::TextBox,  kFrame,   101, 39,  145, 265, "",                            nullptr,   0,  off, on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮2",            K::Button,   kFrame,   99,  312, 48,  24,  "复制",                        nullptr,   0,  off, on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮3",            K::Button,   kFrame,   148, 312, 48,  24,  "清空",                        nullptr,   0,  off, on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮4",            K::Button,   kFrame,   196, 312, 48,  24,  "粘贴",                        nullptr,   0,  off, on,  off, on,  G::None,    nullptr},
    ControlSpec{"单选框仅靓号",     K::Radio,    kFrame,   249, 42,  61,  24,  "仅靓号",                      "#FF0000", 12, on,  on,  on,  on,  G::Mode,    nullptr},
    ControlSpec{"按钮靓号",         K::Button,   kFrame,   313, 39,  60,  30,  "靓 号",                       nullptr,   16, off, on,  off, on,  G::None,    nullptr},
    ControlSpec{"选择框1",          K::CheckBox, kFrame,   255, 68,  31,  16,  "全",                          nullptr,   0,  on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"选择框四同",       K::CheckBox, kFrame,   255, 87,  56,  24,  "AAAA型",                      nullptr,   0,  on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮1四同号",      K::Button,   kFrame,   314, 82,  60,  30,  "四同号ok",                    nullptr,   0,  off, off, off, on,  G::None,    nullptr},
    ControlSpec{"选择框正四顺",     K::CheckBox, kFrame,   255, 118, 56,  24,  "ABCD型",                      nullptr,   0,  on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮正四顺",       K::Button,   kFrame,   315, 114, 60,  30,  "正四顺ok",                    nullptr,   0,  off, off, off, on,  G::None,    nullptr},
    ControlSpec{"选择框反四顺",     K::CheckBox, kFrame,   255, 150, 56,  24,  "DCBA型",                      nullptr,   0,  on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮反四顺",       K::Button,   kFrame,   315, 146, 60,  30,  "反四顺ok",                    nullptr,   0,  off, off, off, on,  G::None,    nullptr},
    ControlSpec{"选择框三同",       K::CheckBox, kFrame,   255, 183, 56,  24,  "AAA 型",                      nullptr,   0,  on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮1三同号",      K::Button,   kFrame,   315, 178, 60,  30,  "三同号ok",                    nullptr,   0,  off, off, off, on,  G::None,    nullptr},
    ControlSpec{"选择框正三顺",     K::CheckBox, kFrame,   255, 214, 56,  24,  "ABC 型",                      nullptr,   0,  on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮正三顺",       K::Button,   kFrame,   315, 210, 60,  30,  "正三顺ok",                    nullptr,   0,  off, off, off, on,  G::None,    nullptr},
    ControlSpec{"选择框反三顺",     K::CheckBox, kFrame,   255, 248, 56,  24,  "CBA 型",                      nullptr,   0,  on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮反三顺",       K::Button,   kFrame,   315, 244, 60,  30,  "反三顺ok",                    nullptr,   0,  off, off, off, on,  G::None,    nullptr},
    ControlSpec{"选择框aabb",       K::CheckBox, kFrame,   254, 281, 56,  24,  "AABB型",                      nullptr,   0,  on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮aabb",         K::Button,   kFrame,   315, 277, 60,  30,  "AABBok",                      nullptr,   0,  off, off, off, on,  G::None,    nullptr},
    ControlSpec{"选择框abab",       K::CheckBox, kFrame,   253, 313, 64,  24,  "ABAB型",                      nullptr,   0,  on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮abab",         K::Button,   kFrame,   315, 309, 60,  30,  "ABABok",                      nullptr,   0,  off, off, off, on,  G::None,    nullptr},
    ControlSpec{"选择框abba",       K::CheckBox, kFrame,   253, 344, 56,  24,  "ABBA型",                      nullptr,   0,  on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮abba",         K::Button,   kFrame,   315, 340, 60,  30,  "ABBAok",                      nullptr,   0,  off, off, off, on,  G::None,    nullptr},
    ControlSpec{"单选框全部号",     K::Radio,    kFrame,   246, 381, 64,  24,  "全部号",                      "#FF0000", 12, on,  on,  off, on,  G::Mode,    nullptr},
    ControlSpec{"按钮全顺序数",     K::Button,   kFrame,   315, 377, 60,  30,  "全顺序数",                    nullptr,   12, off, off, off, on,  G::None,    nullptr},
    ControlSpec{"编辑框2",          K::TextBox,  kFrame,   385, 39,  184, 265, "",                            nullptr,   0,  off, on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮5",            K::Button,   kFrame,   385, 313, 48,  24,  "复制",                        nullptr,   0,  off, on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮6",            K::Button,   kFrame,   447, 312, 48,  24,  "清空",                        nullptr,   0,  off, on,  off, on,  G::None,    nullptr},
    ControlSpec{"按钮7",            K::Button,   kFrame,   507, 312, 48,  24,  "粘贴",                        nullptr,   0,  off, on,  off, on,  G::None,    nullptr},
    ControlSpec{"标签1",            K::Label,    kFrame,   11,  351, 214, 17,  "手机号段,1行1条,1条不超过7-8位数", "#800000", 12, on, on, off, on, G::None,    nullptr},
    ControlSpec{"标签4",            K::Label,    kFrame,   11,  371, 214, 17,  "城市名有首先字母或拼音联想功能", "#9000FF", 12, on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"标签5",            K::Label,    kFrame,   11,  391, 227, 17,  "完美生成中国大陆所有地区靓号/所有号！", "#008000", 12, on, on, off, on, G::None, nullptr},
    ControlSpec{"图片框2",          K::Picture,  kFrame,   405, 360, 72,  20,  "",                            nullptr,   0,  off, on,  off, on,  G::None,    ":/haoma/banner-help.png"},
    ControlSpec{"图片框3",          K::Picture,  kFrame,   488, 355, 72,  20,  "",                            nullptr,   0,  off, on,  off, on,  G::None,    ":/haoma/banner-data.png"},
    ControlSpec{"超级链接框1",      K::Link,     kFrame,   415, 384, 135, 24,  "作者QQ 5208801467",           "#000080", 14, on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"单选框不限",       K::Radio,    kCarrier, 8,   32,  56,  16,  "不限",                        nullptr,   0,  off, on,  on,  on,  G::Carrier, nullptr},
    ControlSpec{"单选框电信",       K::Radio,    kCarrier, 8,   64,  56,  16,  "电信",                        nullptr,   0,  off, on,  off, on,  G::Carrier, nullptr},
    ControlSpec{"单选框联通",       K::Radio,    kCarrier, 8,   90,  56,  16,  "联通",                        nullptr,   0,  off, on,  off, on,  G::Carrier, nullptr},
    ControlSpec{"单选框移动",       K::Radio,    kCarrier, 8,   116, 56,  16,  "移动",                        nullptr,   0,  off, on,  off, on,  G::Carrier, nullptr},
    ControlSpec{"超级链接框2",      K::Link,     nullptr,  302, 428, 135, 24,  "雁鸣代理官网》》》",          "#0000FF", 14, on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"超级链接框3",      K::Link,     nullptr,  452, 427, 56,  24,  "帮助",                        "#0000FF", 14, on,  on,  off, on,  G::None,    nullptr},
    ControlSpec{"超级链接框4",      K::Link,     nullptr,  526, 427, 56,  24,  "关于",                        "#0000FF", 14, on,  on,  off, on,  G::None,    nullptr},
    // The suggestion list comes last so that it lies above the controls it drops over.
    ControlSpec{"列表框_出发地",    K::ListBox,  kFrame,   6,   134, 91,  24,  "",                            nullptr,   0,  off, on,  off, off, G::None,    nullptr},
};
// clang-format on

}  // namespace

std::span<const ControlSpec> controlTable() {
    return kControls;
}

std::span<const AccessibleName> accessibleNames() {
    static constexpr AccessibleName kNames[] = {
        {"编辑框_出发地", "城市名"},
        {"编辑框1", "手机号码段"},
        {"编辑框2", "生成的手机号码"},
        {"编辑框生成总数", "计划生成"},
        {"列表框_出发地", "城市联想"},
        // The boxes' buttons keep their captions; their names say which box they serve.
        {"按钮2", "复制号段"},
        {"按钮3", "清空号段"},
        {"按钮4", "粘贴号段"},
        {"按钮5", "复制结果"},
        {"按钮6", "清空结果"},
        {"按钮7", "粘贴结果"},
        {"图片框2", "帮助"},
        {"图片框3", "数据说明"},
        {"超级链接框4", "关于"},
    };
    return kNames;
}

std::span<const char* const> focusOrder() {
    // Column by column, as the window reads: the city and its segments on the left, the
    // generation settings in the middle, the results on the right, the links below.
    static constexpr const char* kOrder[] = {
        "按钮1查询",    "编辑框_出发地",  "列表框_出发地", "单选框不限",   "单选框电信",
        "单选框联通",   "单选框移动",     "编辑框1",       "按钮2",        "按钮3",
        "按钮4",        "编辑框生成总数", "单选框仅靓号",  "按钮靓号",     "选择框1",
        "选择框四同",   "按钮1四同号",    "选择框正四顺",  "按钮正四顺",   "选择框反四顺",
        "按钮反四顺",   "选择框三同",     "按钮1三同号",   "选择框正三顺", "按钮正三顺",
        "选择框反三顺", "按钮反三顺",     "选择框aabb",    "按钮aabb",     "选择框abab",
        "按钮abab",     "选择框abba",     "按钮abba",      "单选框全部号", "按钮全顺序数",
        "编辑框2",      "按钮5",          "按钮6",         "按钮7",
    };
    return kOrder;
}

}  // namespace haoma::app
