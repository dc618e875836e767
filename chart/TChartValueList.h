// SPDX-License-Identifier: GPL-3.0-or-later
// One list of point values of a series (positions or plotted values), with
// cached statistics that the axes may ask for many times per frame.
#pragma once

#include <vector>

#include <QString>

#include "chart/TChangeNotifier.h"

namespace tesmera {

class TChartSeries;

enum TChartListOrder { loNone, loAscending, loDescending };

class TChartValueList : private TChangeNotifier {
  public:
    // The list belongs to `owner` (not owned here), which is asked to repaint
    // when a setting that changes the picture changes.
    TChartValueList(TChartSeries& owner, QString name, TChartListOrder order);
    TChartValueList(const TChartValueList&) = delete;
    TChartValueList& operator=(const TChartValueList&) = delete;

    int ValueCount() const { return static_cast<int>(values_.size()); }
    // The stored value times Multiplier; throws ListIndexError outside
    // 0 .. ValueCount() - 1.
    double ValueAt(int valueIndex) const;
    double LastValue() const { return ValueAt(ValueCount() - 1); }

    // Inserts where Order requires and returns the new value's index. Equal
    // values keep their insertion order. Compares stored values, without
    // Multiplier. Appending in order costs one comparison.
    int InsertOrdered(double value);
    // Inserts at 0 .. ValueCount() (inclusive); later values move up by one.
    // Throws ListIndexError outside that range and changes nothing then.
    void InsertValueAt(int valueIndex, double value);
    // Removes every value and gives the storage back.
    void RemoveAllValues();

    // Statistics over ValueAt (so Multiplier included); all 0 for an empty list.
    double LowestValue() const { return Stats().lowest; }
    double HighestValue() const { return Stats().highest; }
    double ValueSum() const { return Stats().sum; }
    double AbsValueSum() const { return Stats().absSum; }
    bool StatsStale() const { return statsStale_; }

    double Multiplier() const { return multiplier_; }
    void SetMultiplier(double multiplier);
    bool DateTime() const { return dateTime_; }
    void SetDateTime(bool dateTime);
    // Name and Order only store: no re-sort, no repaint.
    const QString& Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }
    TChartListOrder Order() const { return order_; }
    void SetOrder(TChartListOrder order) { order_ = order; }
    // The value of the point being added, for listeners of the addition.
    double PendingValue() const { return pendingValue_; }
    void SetPendingValue(double value) { pendingValue_ = value; }

  private:
    struct Statistics {
        double lowest = 0;
        double highest = 0;
        double sum = 0;
        double absSum = 0;
    };

    const Statistics& Stats() const;
    Statistics ComputeStats() const;
    int OrderedIndexFor(double value) const;

    TChartSeries& owner_;
    std::vector<double> values_;
    double multiplier_ = 1.0;
    QString name_;
    TChartListOrder order_;
    double pendingValue_ = 0;
    bool dateTime_ = false;
    // The cache is refreshed lazily on the first read after a change.
    mutable Statistics stats_;
    mutable bool statsStale_ = true;
};

}  // namespace tesmera
