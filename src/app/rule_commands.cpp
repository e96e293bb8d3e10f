// SPDX-License-Identifier: MIT
// 按规则选号: the dialog is read into a run by rule, which the core counts and the run
// driver runs, so the window gives what haoma-cli match gives.
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>
#include <charconv>

#include "app/main_window.h"
#include "app/messages.h"
#include "app/rule_dialog.h"
#include "app/run_driver.h"
#include "app/services.h"
#include "app/text_box.h"
#include "generate/run_plan.h"
#include "generate/runs.h"

namespace haoma::app {
namespace {

// A run by rule, or what is wrong with the choice, in Chinese, by the field it concerns.
struct ReadRule {
    std::optional<RuleRun> run;
    QString ruleFault;
    QString seedFault;
};

QString faultText(const std::string& rule, const generate::PatternError& error) {
    // The position counted in characters, at the byte the command line points its caret at.
    const auto before = std::string_view(rule).substr(0, error.position);
    const auto characters = std::count_if(before.begin(), before.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;
    });
    QString text = QString::fromUtf8(messages::kPatternFaultAt).arg(characters + 1);
    for (const auto& entry : messages::kPatternFaultTexts) {
        if (entry.fault == error.fault) {
            QString reason = QString::fromUtf8(entry.text);
            if (reason.contains(QStringLiteral("%1"))) {
                reason = reason.arg(QString::fromStdString(error.character));
            }
            text += reason;
        }
    }
    return text;
}

ReadRule readRule(const RuleChoice& choice) {
    RuleRun run;
    ReadRule read;
    const std::string rule = choice.rule.toStdString();
    if (!rule.empty()) {  // an empty rule is every number
        auto parsed = generate::parsePatterns(rule);
        if (parsed.error) {
            read.ruleFault = faultText(rule, *parsed.error);
        }
        run.plan.patterns = std::move(parsed.patterns);
    }
    run.plan.rule.allowed = generate::digitsWithout(choice.without.toStdString());
    // Several strings, as repeated --contains: commas or blanks between them.
    static const QRegularExpression kSeparators(QStringLiteral("[\\s,，]+"));
    for (const QString& digits : choice.contains.split(kSeparators, Qt::SkipEmptyParts)) {
        run.plan.rule.contains.push_back(digits.toStdString());
    }
    run.plan.rule.wholeNumber = choice.wholeNumber;
    if (choice.sample) {
        const std::string seed = choice.seed.toStdString();
        const auto [end, status] =
            std::from_chars(seed.data(), seed.data() + seed.size(), run.seed);
        if (!seed.empty() && (status != std::errc() || end != seed.data() + seed.size())) {
            read.seedFault = QString::fromUtf8(messages::kBadSeed);
        }
        run.sample = static_cast<std::uint64_t>(choice.sampleSize);
        run.shuffle = choice.shuffle;
    }
    if (read.ruleFault.isEmpty() && read.seedFault.isEmpty()) {
        read.run = std::move(run);
    }
    return read;
}

}  // namespace

void MainWindow::OpenRuleDialog() {
    if (ruleDialog_ == nullptr) {
        // Built when first opened: the start-up does not pay for it.
        ruleDialog_ = new RuleDialog(this);
        // Changes come in bursts (a paste, a query that clears and fills the segment box):
        // the count follows once they have all arrived.
        auto* recount = new QTimer(ruleDialog_);
        recount->setSingleShot(true);
        recount->setInterval(0);
        const auto start = [recount] { recount->start(); };
        connect(recount, &QTimer::timeout, this, &MainWindow::CountRuleNumbers);
        connect(ruleDialog_, &RuleDialog::choiceChanged, recount, start);
        connect(control<TextBox>("编辑框1"), &TextBox::changed, recount, start);
        connect(control<QLineEdit>("编辑框生成总数"), &QLineEdit::textChanged, recount, start);
        connect(ruleDialog_, &RuleDialog::runRequested, this, &MainWindow::RunRuleNumbers);
        connect(ruleDialog_, &RuleDialog::stopRequested, this, [this] { runs_->requestStop(); });
    }
    ruleDialog_->show();
    ruleDialog_->raise();
    ruleDialog_->activateWindow();
    CountRuleNumbers();
}

void MainWindow::CountRuleNumbers() {
    if (ruleDialog_ == nullptr || !ruleDialog_->isVisible()) {
        return;  // counted again when it opens
    }
    const auto read = readRule(ruleDialog_->choice());
    ruleDialog_->showErrors(read.ruleFault, read.seedFault);
    ruleDialog_->setRunnable(read.run.has_value() && !runs_->active());
    if (!read.run) {
        ruleDialog_->showCount(std::nullopt, 0);
        return;
    }
    generate::RunPlan plan = read.run->plan;
    plan.segments = generate::segmentList(control<TextBox>("编辑框1")->utf8View());
    const std::uint64_t total = generate::countRun(plan).numbers;
    ruleDialog_->showCount(total,
                           generate::numbersGiven(total, runs_->ruleLimit(), read.run->sample));
}

void MainWindow::RunRuleNumbers() {
    if (runs_->active()) {
        return;
    }
    // An empty seed is drawn now, and shown: the same numbers can be had again.
    if (ruleDialog_->choice().sample && ruleDialog_->choice().seed.isEmpty()) {
        ruleDialog_->drawSeed();
    }
    const auto read = readRule(ruleDialog_->choice());
    if (!read.run) {
        return;
    }
    ruleDialog_->setRunning(true);
    runs_->runRule(*read.run);
    if (!services_.ending()) {
        ruleDialog_->setRunning(false);
        CountRuleNumbers();
    }
}

}  // namespace haoma::app
