#pragma once

struct TConfig;
class TFrameGsmSetting;
class TFrameSetZ48;

// Copies between the configuration record and the grids of the two work frames, over exactly
// the cells the record maps: GSM rows 1..6 (not the password row 7), the operators, all 6000
// goods, the groups' columns 1..4 (not the tax system), the cliche lines and all 12 agent
// lines. Empty cells and empty fields are copied like any other.

// Grids into the record; the scanner choice is not touched.
void ConfigFromGrids(TConfig &config, const TFrameGsmSetting &gsm, const TFrameSetZ48 &tables);
// The record into the grids: every mapped cell is overwritten, stale texts do not survive.
void ConfigToGrids(const TConfig &config, TFrameGsmSetting &gsm, TFrameSetZ48 &tables);
