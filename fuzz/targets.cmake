# Every fuzz target with the libraries it needs. Two builds read this list
# through their own qm_fuzz_target(NAME SOURCES... LIBS...): the clang build of
# fuzz/CMakeLists.txt makes libFuzzer programs of them, the test build
# (tests/fuzz) replays each committed corpus through them.
qm_fuzz_target(profile_parser_fuzz CORPUS profile LIBS qm_profile qm_platform_machine)
qm_fuzz_target(archive_fuzz CORPUS archive LIBS qm_install_archive qm_platform_machine)
qm_fuzz_target(ini_document_fuzz CORPUS ini LIBS qm_platform_ini)
qm_fuzz_target(install_tables_fuzz CORPUS tables
  LIBS qm_install_tables_loader qm_install_tables qm_system qm_platform_machine)
qm_fuzz_target(rc_script_fuzz CORPUS rc LIBS qm_rc_compiler qm_platform_machine)
qm_fuzz_target(regedit4_fuzz CORPUS regedit4 LIBS qm_regedit4)
qm_fuzz_target(shelllink_fuzz CORPUS lnk LIBS qm_platform_shelllink)
qm_fuzz_target(manifest_fuzz CORPUS manifest
  SOURCES ${QM_SOURCE_ROOT}/tools/qmtool/media_manifest.cpp LIBS qm_platform_machine)
qm_fuzz_target(progman_command_fuzz CORPUS progman LIBS qm_platform_dde)
