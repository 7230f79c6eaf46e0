# Profile file reader, patient list walk and the counts read from data files.
dorvel_add_fuzzer(fuzz_profile SOURCES profile_fuzz.cpp LIBS dorvel_store)
dorvel_add_fuzzer(fuzz_patient_list SOURCES patient_list_fuzz.cpp LIBS dorvel_store)
dorvel_add_fuzzer(fuzz_reading_count SOURCES reading_count_fuzz.cpp LIBS dorvel_store)
