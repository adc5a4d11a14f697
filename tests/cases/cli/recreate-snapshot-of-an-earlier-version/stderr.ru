sqlscripts: предупреждение: в снимке каталога {case}/snapshot.json нет раздела «table and storage features» (его записала более ранняя версия sqlscripts): он прочитан как пустой
sqlscripts: предупреждение: в снимке каталога {case}/snapshot.json нет раздела «optional catalog columns» (его записала более ранняя версия sqlscripts): он прочитан как пустой
sqlscripts: предупреждение: в снимке каталога {case}/snapshot.json нет раздела «feature views» (его записала более ранняя версия sqlscripts): он прочитан как пустой
sqlscripts: предупреждение: в снимке каталога {case}/snapshot.json нет раздела «index features» (его записала более ранняя версия sqlscripts): он прочитан как пустой
sqlscripts: предупреждение: в снимке каталога {case}/snapshot.json нет раздела «XML schema collection count» (его записала более ранняя версия sqlscripts): он прочитан как пустой
sqlscripts: предупреждение: в снимке каталога {case}/snapshot.json нет раздела «full-text views» (его записала более ранняя версия sqlscripts): он прочитан как пустой
sqlscripts: предупреждение: в снимке каталога {case}/snapshot.json нет раздела «full-text stopwords view» (его записала более ранняя версия sqlscripts): он прочитан как пустой
sqlscripts: предупреждение: в снимке каталога {case}/snapshot.json нет раздела «search property list views» (его записала более ранняя версия sqlscripts): он прочитан как пустой
sqlscripts: предупреждение: в снимке каталога {case}/snapshot.json нет раздела «principals» (его записала более ранняя версия sqlscripts): он прочитан как пустой
sqlscripts: предупреждение: в снимке каталога {case}/snapshot.json нет раздела «role members» (его записала более ранняя версия sqlscripts): он прочитан как пустой
sqlscripts: предупреждение: в снимке каталога {case}/snapshot.json нет раздела «owners» (его записала более ранняя версия sqlscripts): он прочитан как пустой
sqlscripts: предупреждение: в снимке каталога {case}/snapshot.json нет раздела «xml schema collections» (его записала более ранняя версия sqlscripts): он прочитан как пустой
sqlscripts: предупреждение: в снимке каталога {case}/snapshot.json нет раздела «permissions» (его записала более ранняя версия sqlscripts): он прочитан как пустой
sqlscripts: предупреждение: в снимке каталога {case}/snapshot.json нет раздела «census» (его записала более ранняя версия sqlscripts): он прочитан как пустой
