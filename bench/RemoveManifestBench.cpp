// Times the uninstall worker's file removal on a large installation against
// the floor: the same tree deleted with a plain DeleteFileW/RemoveDirectoryW
// walk. Run by hand: cmake/wine-run.sh build/bench/remove_manifest_bench.exe
#include "app/ProductNames.h"
#include "app/UninstallManifest.h"
#include "bench/BenchSupport.h"
#include "bench/BenchTree.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace kalvex::bench;
using DuiLib::bench::Median;

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    const std::wstring root = ScratchFolder(L"bench");
    const std::wstring install = root + L"velko\\";
    const std::wstring temp = root + L"temp";
    CreateDirectoryW(temp.c_str(), nullptr);
    WriteSmallFile(temp + kalvex::kManifestTempName, TopLevelManifest());
    SetEnvironmentVariableW(kalvex::kTempVariable, temp.c_str());
    SetUninstallString(install);

    std::printf("installation: %d files in %d directories, manifest of %d top-level entries, %d round(s)\n",
                kDirectories * kFilesPerDirectory, kDirectories, kDirectories, rounds);
    std::vector<double> manifestTimes, floorTimes;
    for (int round = 0; round < rounds; ++round) {
        CreateInstallation(install);
        auto start = std::chrono::steady_clock::now();
        kalvex::RemoveManifestFiles();
        manifestTimes.push_back(Seconds(std::chrono::steady_clock::now() - start));
        const int leftByManifest = CountLeft(install);

        CreateInstallation(install);
        start = std::chrono::steady_clock::now();
        PlainDelete(install);
        floorTimes.push_back(Seconds(std::chrono::steady_clock::now() - start));
        std::printf("round %d: RemoveManifestFiles %.3f s (%d directories left), plain delete loop %.3f s\n",
                    round + 1, manifestTimes.back(), leftByManifest, floorTimes.back());
        PlainDelete(install);
    }
    const double manifestMedian = Median(manifestTimes);
    const double floorMedian = Median(floorTimes);
    std::printf("median: RemoveManifestFiles %.3f s, floor %.3f s, ratio %.2f\n", manifestMedian, floorMedian,
                manifestMedian / floorMedian);

    DeleteUninstallKey();
    PlainDelete(root);
    return 0;
}
