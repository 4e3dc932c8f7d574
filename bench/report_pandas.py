"""The per-block table of zelta_report, the way an engineer would compute it
with pandas: latest, lowest and highest voltage and temperature, deviation
from the string mean, impedance baseline (mean of the first readings) and now
(mean of the last readings), last seen, type and revisions.
Usage: python3 report_pandas.py LOG_FOLDER OUT.csv [READINGS]"""
import sys

import pandas as pd

folder, out = sys.argv[1], sys.argv[2]
readings = int(sys.argv[3]) if len(sys.argv) > 3 else 5


def read(name):
    return pd.read_csv(f"{folder}/ZELTA_Reader_{name}.csv", sep=";", index_col="Timestamp")


def last(frame):
    return frame.ffill().iloc[-1]


def last_seen(frame):
    return frame.apply(lambda c: c.last_valid_index())


volts, temps, imps = read("Voltages"), read("Temperatures"), read("Impedances")
info = pd.read_csv(f"{folder}/ZELTA_Reader_Info.csv", sep=";", index_col="Timestamp", dtype=str)

mean = volts.mean(axis=1)
deviation = volts.sub(mean, axis=0).div(mean, axis=0) * 100
above = temps.sub(temps.mean(axis=1), axis=0)
table = pd.DataFrame({
    "voltage_latest_v": last(volts), "voltage_min_v": volts.min(), "voltage_max_v": volts.max(),
    "deviation_latest_pct": last(deviation), "deviation_max_abs_pct": deviation.abs().max(),
    "temperature_latest_c": last(temps), "temperature_min_c": temps.min(),
    "temperature_max_c": temps.max(), "temperature_above_mean_c": last(above),
    "impedance_baseline_mohm": imps.apply(lambda c: c.dropna().head(readings).mean()),
    "impedance_now_mohm": imps.apply(lambda c: c.dropna().tail(readings).mean()),
})
seen = pd.concat([last_seen(volts), last_seen(temps), last_seen(imps)], axis=1).max(axis=1)
table["last_seen"] = seen
for name, column in (("Modultyp", "module_type"), ("HW", "hardware"), ("SW", "software")):
    rows = info[info["Name of Values"] == name].drop(columns="Name of Values")
    table[column] = last(rows)
table.index = [int(c[len("Module("):-1]) for c in table.index]
table.index.name = "block"
table.dropna(how="all", subset=["voltage_latest_v", "temperature_latest_c"]).to_csv(out, sep=";")
