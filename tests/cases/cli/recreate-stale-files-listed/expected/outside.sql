beside the folder
