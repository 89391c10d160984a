# TPlotChart and its scales.
