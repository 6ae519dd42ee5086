# Fills the staging folder of the sample velko product, the files its kit-built
# installer places: the client, a library, a Chinese-named readme and two
# trees (one with Chinese names). Any previous content is removed first.
# Run as: cmake -DOUT=<folder> [-DCLIENT=<exe>] [-DCACHEFILES=N] -P MakeSampleStaging.cmake
#   CLIENT      a real program shipped as the client and its VPN helper, so
#               they can be started (text files otherwise)
#   CACHEFILES  N more small files under bin\cache, so that removing the
#               product takes long enough to be watched
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT}/bin)
if(DEFINED CLIENT)
  file(COPY_FILE ${CLIENT} ${OUT}/velko.exe)
  file(COPY_FILE ${CLIENT} ${OUT}/bin/openvpn.exe)
else()
  file(WRITE ${OUT}/velko.exe "client")
  file(WRITE ${OUT}/bin/openvpn.exe "vpn")
endif()
file(WRITE ${OUT}/core.dll "core")
file(WRITE ${OUT}/说明.txt "readme")
file(WRITE ${OUT}/bin/plugins/a.dll "a")
file(WRITE ${OUT}/bin/plugins/deep/b.dll "b")
if(DEFINED CACHEFILES)
  math(EXPR last "${CACHEFILES} - 1")
  foreach(i RANGE ${last})
    file(WRITE ${OUT}/bin/cache/part${i}.dat "cache")
  endforeach()
endif()
file(WRITE ${OUT}/数据/缓存/节点.json "nodes")
file(WRITE ${OUT}/数据/配置.ini "config")
