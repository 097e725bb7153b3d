#include "ui/DotRuleBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>

namespace printset {

TDotRuleBox::TDotRuleBox(QWidget* parent) : QWidget(parent) {
  setObjectName("DotRuleBox");
  RuleBox = new QComboBox(this);
  RuleBox->setObjectName("ComboDots");
  for (const TDotRule rule : kDotRules) RuleBox->addItem(DotRuleName(rule), static_cast<int>(rule));
  ThresholdBox = new QSpinBox(this);
  ThresholdBox->setObjectName("SpinThreshold");
  ThresholdBox->setRange(kMinDotThreshold, kMaxDotThreshold);
  // A typed number counts once it is complete, not at every digit.
  ThresholdBox->setKeyboardTracking(false);
  auto* rules = new QLabel("DOTS:", this);
  rules->setBuddy(RuleBox);
  auto* threshold = new QLabel("THRESHOLD:", this);
  threshold->setBuddy(ThresholdBox);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(rules, 0, 0);
  grid->addWidget(RuleBox, 0, 1, Qt::AlignLeft);
  grid->addWidget(threshold, 1, 0);
  grid->addWidget(ThresholdBox, 1, 1, Qt::AlignLeft);
  grid->setColumnStretch(1, 1);
  Show(TDotRule::Classic, kDefaultDotThreshold);
  connect(RuleBox, &QComboBox::currentIndexChanged, this, &TDotRuleBox::Changed);
  connect(ThresholdBox, &QSpinBox::valueChanged, this, &TDotRuleBox::Changed);
}

void TDotRuleBox::Show(TDotRule rule, int32_t threshold) {
  const QSignalBlocker ruleQuiet(RuleBox);
  const QSignalBlocker thresholdQuiet(ThresholdBox);
  RuleBox->setCurrentIndex(std::max(0, RuleBox->findData(static_cast<int>(rule))));
  ThresholdBox->setValue(std::clamp(threshold, kMinDotThreshold, kMaxDotThreshold));
}

TDotRule TDotRuleBox::Rule() const { return static_cast<TDotRule>(RuleBox->currentData().toInt()); }

int32_t TDotRuleBox::Threshold() const { return ThresholdBox->value(); }

}  // namespace printset
