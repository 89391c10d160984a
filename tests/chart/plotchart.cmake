# Tests of TPlotChart.
