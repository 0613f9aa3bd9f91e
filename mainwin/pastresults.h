#pragma once

// "先程の結果": the last run's chart again.
void previousResultCommand();
// A past-log item: the chart of its result file.
void pastResultCommand(int index);
