# Profile file reader and patient list walk.
dorvel_add_fuzzer(fuzz_profile SOURCES profile_fuzz.cpp LIBS dorvel_store)
dorvel_add_fuzzer(fuzz_patient_list SOURCES patient_list_fuzz.cpp LIBS dorvel_store)
