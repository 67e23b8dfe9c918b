#!/usr/bin/env python3
"""Writes engine_vs_proj.table: points of five grid systems as PROJ computes
them, for engine_vs_proj_test.cpp to hold the engine to. Run it again only to
change the table (it needs PROJ's cct):

    engine/tests/proj_oracle/make_table.py > engine/tests/proj_oracle/engine_vs_proj.table

Each system is given as the eighteen values of the Settings page, and PROJ is
given the operations those values mean to the engine:

* The three-parameter shift is Molodensky's standard formula applied backwards:
  corr.N and corr.E (arc-seconds) are added to the WGS84 latitude and
  longitude (an affine step, in degrees), then PROJ's molodensky runs inverted
  (+inv subtracts the differences computed at the point) on the local
  ellipsoid a = 6378137 - Da, f = 0.00335281066474 - Df / 10000, with
  da = Da and df = Df / 10000 (Df is typed times 10000). Every point lies at
  the ellipsoidal height of 200 m.
* The seven-parameter shift is WGS84 geodetic to geocentric (a = 6378137,
  e^2 = 0.006694380004261, height 200 m), PROJ's helmert with the exact
  rotation matrix in the coordinate frame convention (rotations in
  arc-seconds, scale in ppm), and geocentric to geodetic on the local
  ellipsoid a = 6378137 - Da, b = a (Df / 10000 + 0.996647189328169).
* The projection is PROJ's exact tmerc on that same a and b. A system with a
  latitude of origin other than 0 is given to PROJ with its lat_0 and y_0; the
  engine counts northings from the equator, so its false northing is y_0 less
  the scaled meridian arc to lat_0, which PROJ's tmerc gives as the northing
  of the origin with lat_0 = 0 and y_0 = 0.

The rows from the grid to WGS84 take the grid point PROJ makes of a WGS84
point and expect that point back: the engine inverts its own forward chain, so
the forward chain's exact inverse is the answer (PROJ's inverse of molodensky
is the forward formula, itself an approximation of the inverse).
"""

import subprocess
import sys

WGS84_A = 6378137.0
WGS84_FLATTENING = 0.00335281066474  # the three-parameter shift's
REFERENCE_AXIS_RATIO = 0.996647189328169  # b / a of the projection and seven-parameter shift
WGS84_E2 = 0.006694380004261  # the seven-parameter shift's WGS84 geocentric step
HEIGHT = 200.0

# The eighteen values in the order of the Settings page.
FIELDS = ["dx", "dy", "dz", "da", "df", "corr_n", "corr_e", "k0", "x0", "y0", "lon0",
          "tx", "ty", "tz", "rx", "ry", "rz", "k"]

# Row classes and their tolerances in metres: on the grid, or on the ground for
# latitudes and longitudes (a sphere of 6371 km). Each is the largest
# difference measured against PROJ in its class, rounded up, and what makes it.
TOLERANCES = [
    ("molodensky-shift", 2e-8,
     "measured 6.5e-9 m, the rows' 13 decimals: PROJ's molodensky is the same formula"),
    ("helmert-shift", 2e-8,
     "measured 7.6e-9 m, the rows' 13 decimals: PROJ's cart inverse is Bowring's one step too"),
    ("central-meridian", 4e-5,
     "measured 31 um: Helmert's meridian arc stops at sin 6phi; 315/512 n^4 sin 8phi is left out"),
    ("3-degrees-off", 1e-4,
     "measured 84 um: the Gauss-Krueger series to L^6 and L^5 against PROJ's exact tmerc"),
    ("6-degrees-off", 1e-2,
     "measured 8.8 mm (8.5 S): the series' first missing terms, L^7 and L^8, near the equator"),
]
OFFSET_CLASSES = {0: "central-meridian", 3: "3-degrees-off", 6: "6-degrees-off"}

# Each system: its name, shift, values (a value not given is 0), the latitude
# of origin and false northing PROJ is given where the origin is not on the
# equator, and the WGS84 points as (latitude, signed offsets from the central
# meridian in degrees).
SYSTEMS = [
    {
        "name": "bessel-gauss-krueger-corrections",
        "shift": "molodensky",
        "values": {"dx": 575, "dy": 93, "dz": 466, "da": 739.845, "df": 0.10037483,
                   "corr_n": 0.45, "corr_e": -0.3,
                   "k0": 1, "x0": 500000, "y0": -5000000, "lon0": 16.5},
        "points": [(46.5, [0, 3, -6]), (48.75, [0, -3, 6])],
    },
    {
        "name": "clarke-utm-33-south",
        "shift": "molodensky",
        "values": {"dx": -50.9, "dy": -347.6, "dz": -231, "da": -112.145, "df": -0.54750714,
                   "k0": 0.9996, "x0": 500000, "y0": 10000000, "lon0": 15},
        "points": [(-8.5, [0, 3, -6]), (-17.25, [0, -3, 6])],
    },
    {
        "name": "international-origin-90-south",
        "shift": "molodensky",
        "values": {"dx": -148, "dy": 136, "dz": 90, "da": -251, "df": -0.14192702,
                   "k0": 1, "x0": 3500000, "lon0": -66},
        "origin": {"lat_0": -90, "y_0": 0},
        "points": [(-31.5, [0, 3, -6]), (-50.5, [0, -3, 6])],
    },
    {
        "name": "airy-origin-49-north",
        "shift": "helmert",
        "values": {"da": 573.604, "df": 0.11959993,
                   "k0": 0.9996012717, "x0": 400000, "lon0": -2,
                   "tx": -446.448, "ty": 125.157, "tz": -542.06,
                   "rx": 0.1502, "ry": 0.247, "rz": 0.8421, "k": 20.4894},
        "origin": {"lat_0": 49, "y_0": -100000},
        "points": [(50.5, [0, 3, -6]), (57.25, [0, -3, 6])],
    },
    {
        "name": "australian-utm-55-south",
        "shift": "helmert",
        "values": {"da": -23, "df": -0.00081197,
                   "k0": 0.9996, "x0": 500000, "y0": 10000000, "lon0": 147,
                   "tx": 117.763, "ty": 51.51, "tz": -139.061,
                   "rx": 0.292, "ry": 0.443, "rz": 0.277, "k": 0.191},
        "points": [(-19.5, [0, 3, -6]), (-37.75, [0, -3, 6])],
    },
]


def number(value):
    """A value as typed: the shortest text that reads back as the same double."""
    text = repr(float(value))
    return text[:-2] if text.endswith(".0") else text


def cct(pipeline, points):
    """The points (lon, lat, height) through `pipeline`, as (x, y) pairs."""
    lines = "".join(f"{number(x)} {number(y)} {number(HEIGHT)} 0\n" for x, y in points)
    run = subprocess.run(["cct", "-d", "15"] + pipeline.split(), input=lines,
                         capture_output=True, text=True, check=True)
    rows = [line.split() for line in run.stdout.splitlines() if line.strip()]
    if len(rows) != len(points):
        sys.exit(f"cct gave {len(rows)} points for {len(points)}: {run.stderr}")
    return [(float(row[0]), float(row[1])) for row in rows]


def ellipsoids(values):
    """The local ellipsoid of the three-parameter shift, and that of the
    projection and the seven-parameter shift, as PROJ parameters."""
    a = WGS84_A - values["da"]
    molodensky = f"+a={number(a)} +f={number(WGS84_FLATTENING - values['df'] / 10000)}"
    b = a * (values["df"] / 10000 + REFERENCE_AXIS_RATIO)
    return molodensky, f"+a={number(a)} +b={number(b)}"


def shift_steps(system):
    values = system["values"]
    molodensky_ellipsoid, local_ellipsoid = ellipsoids(values)
    if system["shift"] == "molodensky":
        return (f"+step +proj=affine +xoff={number(values['corr_e'] / 3600)}"
                f" +yoff={number(values['corr_n'] / 3600)}"
                " +step +proj=unitconvert +xy_in=deg +xy_out=rad"
                f" +step +inv +proj=molodensky {molodensky_ellipsoid}"
                f" +dx={number(values['dx'])} +dy={number(values['dy'])}"
                f" +dz={number(values['dz'])} +da={number(values['da'])}"
                f" +df={number(values['df'] / 10000)}")
    return ("+step +proj=unitconvert +xy_in=deg +xy_out=rad"
            f" +step +proj=cart +a={number(WGS84_A)} +es={number(WGS84_E2)}"
            f" +step +proj=helmert +x={number(values['tx'])} +y={number(values['ty'])}"
            f" +z={number(values['tz'])} +rx={number(values['rx'])} +ry={number(values['ry'])}"
            f" +rz={number(values['rz'])} +s={number(values['k'])}"
            " +exact +convention=coordinate_frame"
            f" +step +inv +proj=cart {local_ellipsoid}")


def tmerc(system, lat_0, y_0):
    values = system["values"]
    _, local_ellipsoid = ellipsoids(values)
    return (f"+proj=tmerc {local_ellipsoid} +k_0={number(values['k0'])}"
            f" +lon_0={number(values['lon0'])} +lat_0={number(lat_0)}"
            f" +x_0={number(values['x0'])} +y_0={number(y_0)}")


def fold_origin(system):
    """Sets the engine's false northing of a system whose origin is off the
    equator: y_0 less the northing of the origin counted from the equator."""
    origin = system.get("origin")
    if origin is None:
        return
    values = system["values"]
    ((_, arc),) = cct(tmerc(system, 0, 0), [(values["lon0"], origin["lat_0"])])
    values["y0"] = round(origin["y_0"] - arc, 6)


def rows_of(system):
    values = system["values"]
    name = system["name"]
    origin = system.get("origin", {"lat_0": 0, "y_0": values["y0"]})
    shift = f"+proj=pipeline {shift_steps(system)}"
    to_grid = f"{shift} +step {tmerc(system, origin['lat_0'], origin['y_0'])}"
    points = [(values["lon0"] + offset, latitude, offset)
              for latitude, offsets in system["points"] for offset in offsets]
    wgs84 = [(lon, lat) for lon, lat, _ in points]
    local = cct(shift + " +step +proj=unitconvert +xy_in=rad +xy_out=deg", wgs84)
    grid = cct(to_grid, wgs84)

    yield f"# PROJ shift:   {shift}"
    yield f"# PROJ to grid: {to_grid}"
    given = " ".join(f"{field}={number(values[field])}" for field in FIELDS if values[field] != 0)
    yield f"system {name} {system['shift']} {given}"
    shift_class = f"{system['shift']}-shift"
    for (lon, lat, offset), (local_lon, local_lat), (easting, northing) in zip(points, local, grid):
        grid_class = OFFSET_CLASSES[abs(offset)]
        yield (f"shift    {name} {shift_class} {lat:.10f} {lon:.10f}"
               f" {local_lat:.13f} {local_lon:.13f}")
        yield (f"to-grid  {name} {grid_class} {lat:.10f} {lon:.10f}"
               f" {northing:.7f} {easting:.7f}")
        yield (f"to-wgs84 {name} {grid_class} {northing:.7f} {easting:.7f}"
               f" {lat:.12f} {lon:.12f}")


def main():
    version = subprocess.run(["cct", "--version"], capture_output=True, text=True).stdout.strip()
    print(f"""\
# The engine held to PROJ ({version or 'cct'}): written by make_table.py, which
# says which PROJ operations match the engine's. Data, not code: change the
# script and run it again rather than edit the rows.
#
# tolerance CLASS METRES  what the engine's difference from PROJ in a row of
#     CLASS may reach, on the grid or on the ground (a sphere of 6371 km for
#     latitudes and longitudes); measured, and what limits it.
# system NAME SHIFT FIELD=VALUE...  a grid system as the Settings page holds
#     it (df as typed, times 10000; rotations in arc-seconds; k in ppm; fields
#     not named are 0), SHIFT the method the rows use (molodensky: the
#     three-parameter shift; helmert: the seven-parameter shift).
# shift NAME CLASS LAT LON  LOCAL_LAT LOCAL_LON  the datum shift alone.
# to-grid NAME CLASS LAT LON  NORTHING EASTING  WGS84 to the grid.
# to-wgs84 NAME CLASS NORTHING EASTING  LAT LON  the grid to WGS84.
# Degrees are decimal, north and east positive.
""")
    for name, tolerance, why in TOLERANCES:
        print(f"tolerance {name} {tolerance:g}  # {why}")
    for system in SYSTEMS:
        system["values"] = {field: system["values"].get(field, 0) for field in FIELDS}
        fold_origin(system)
        print()
        if "origin" in system:
            origin = system["origin"]
            print(f"# Origin at latitude {number(origin['lat_0'])} with false northing"
                  f" {number(origin['y_0'])}, folded into y0.")
        for line in rows_of(system):
            print(line)


if __name__ == "__main__":
    main()
