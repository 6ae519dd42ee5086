# Fills the benchmark installation's staging folder: DIRS folders
# ("module0", "module1", ...) of FILES small files each ("part0.dat", ...).
# Any previous content is removed first.
# Run as: cmake -DOUT=<folder> -DDIRS=N -DFILES=N -P MakeBenchStaging.cmake
file(REMOVE_RECURSE ${OUT})
math(EXPR last_dir "${DIRS} - 1")
math(EXPR last_file "${FILES} - 1")
foreach(d RANGE ${last_dir})
  foreach(f RANGE ${last_file})
    file(WRITE ${OUT}/module${d}/part${f}.dat "velko")
  endforeach()
endforeach()
