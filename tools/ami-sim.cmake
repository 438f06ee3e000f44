# ami-sim: simulation harness for the AMI models (64-bit host tool).
find_package(PkgConfig REQUIRED)
pkg_check_modules(FFTW3 REQUIRED IMPORTED_TARGET fftw3)
find_package(ZLIB REQUIRED)
find_package(Threads REQUIRED)

# The channel file readers and checks depend on nothing beyond the standard
# library, so the fuzz target links them alone.
add_library(amisim_readers STATIC
  ami-sim/ChannelChecks.cpp
  ami-sim/ThroughResponse.cpp
  ami-sim/TimeValueCsv.cpp
  ami-sim/Touchstone.cpp)
target_include_directories(amisim_readers PUBLIC ${PROJECT_SOURCE_DIR})

add_library(amisim STATIC
  ami-sim/AmiModel.cpp
  ami-sim/AmiParameterCheck.cpp
  ami-sim/AmiParameterFile.cpp
  ami-sim/AnalogEnds.cpp
  ami-sim/Bathtub.cpp
  ami-sim/BathtubSvg.cpp
  ami-sim/Channel.cpp
  ami-sim/EyeDiagram.cpp
  ami-sim/EyeSvg.cpp
  ami-sim/FftConvolver.cpp
  ami-sim/FftwPlans.cpp
  ami-sim/FrequencyDomainChannel.cpp
  ami-sim/HeatMapSvg.cpp
  ami-sim/IbisKit.cpp
  ami-sim/JsonWriter.cpp
  ami-sim/KitPlan.cpp
  ami-sim/Latency.cpp
  ami-sim/LinkChannel.cpp
  ami-sim/LinkModels.cpp
  ami-sim/LinkPlan.cpp
  ami-sim/LinkStatistics.cpp
  ami-sim/LinkStream.cpp
  ami-sim/Options.cpp
  ami-sim/PlotData.cpp
  ami-sim/PngImage.cpp
  ami-sim/Prbs.cpp
  ami-sim/Quantity.cpp
  ami-sim/Random.cpp
  ami-sim/RunFiles.cpp
  ami-sim/RunReport.cpp
  ami-sim/Sampler.cpp
  ami-sim/Simulation.cpp
  ami-sim/Stimulus.cpp
  ami-sim/Sweep.cpp
  ami-sim/SweepReport.cpp
  ami-sim/TerminatedNetwork.cpp
  ami-sim/WaveCsv.cpp)
target_include_directories(amisim PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(amisim PUBLIC amisim_readers vantra_blocks amiparam ibis_checker PkgConfig::FFTW3
                      ZLIB::ZLIB Threads::Threads ${CMAKE_DL_LIBS})

add_executable(ami-sim ami-sim/main.cpp)
target_link_libraries(ami-sim PRIVATE amisim)
